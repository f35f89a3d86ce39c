// SPDX-License-Identifier: MIT
#include "coders/IdCoderOld.h"

#include "coders/IdCoder.h"
#include "platform/IdGlobal.h"
#include "platform/ResStrings.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <limits>

namespace md5b64 {

namespace {

constexpr char DataKind = '0';
constexpr std::string_view DataPrefix = "0;";
constexpr std::string_view LineBreak = "\r\n";

// Media types and transfer-encoding names are compared without regard to case
// (RFC 2045, section 5.1 and 6.1).
bool SameTextAscii(std::string_view A, std::string_view B) noexcept {
  auto Lower = [](char C) { return (C >= 'A' && C <= 'Z') ? static_cast<char>(C + 32) : C; };
  return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(),
                                            [&](char X, char Y) { return Lower(X) == Lower(Y); });
}

bool IsDataEntry(const std::string& Entry) {
  return !Entry.empty() && Entry[0] == DataKind;
}

// Every entry the base queues begins with "0;": its data is what follows, whatever bytes.
bool HasDataPrefix(const std::string& Entry) {
  return std::string_view(Entry).substr(0, DataPrefix.size()) == DataPrefix;
}

// The data of an entry: the bytes after the ";" that ends its kind.
std::string EntryData(std::string Entry) {
  if (HasDataPrefix(Entry))
    Entry.erase(0, DataPrefix.size());
  else
    SplitHead(Entry, ";", true, true);
  return Entry;
}

// Appends the data of Entry to Result without a copy of the entry in between.
void AppendEntryData(std::string& Result, std::string Entry) {
  if (HasDataPrefix(Entry))
    Result.append(Entry, DataPrefix.size());
  else
    Result += EntryData(std::move(Entry));
}

// The parts, one after the other, in one allocation: a piece becomes its entry in a single
// copy, which is most of what queueing a short digest costs.
std::string Joined(std::initializer_list<std::string_view> Parts) {
  std::size_t Length = 0;
  for (const std::string_view Part : Parts)
    Length += Part.size();
  std::string Result;
  Result.reserve(Length);
  for (const std::string_view Part : Parts)
    Result.append(Part);
  return Result;
}

} // namespace

void AddToCounter64(TCounter64& Counter, std::uint32_t Amount) noexcept {
  const std::uint32_t Before = Counter.Low;
  Counter.Low += Amount;
  if (Counter.Low < Before) {
    // The counter stops at no remainder: a sum past 2^64 - 1 starts again from 0.
    if (Counter.High == std::numeric_limits<std::uint32_t>::max()) {
      Counter.Low = 0;
      Counter.High = 0;
    } else {
      ++Counter.High;
    }
  }
}

TIdCoder::TIdCoder(TComponent* Owner) : TIdBaseComponent(Owner), FChunk(DefaultChunkSize, '\0') {}

std::string TIdCoder::FeedText(std::string_view Text) {
  // Texts longer than one 32-bit amount are counted in steps.
  for (std::string_view Rest = Text; !Rest.empty();) {
    const std::size_t Step = std::min<std::size_t>(Rest.size(), 0xFFFFFFFFU);
    AddToCounter64(FInputCount, static_cast<std::uint32_t>(Step));
    Rest.remove_prefix(Step);
  }
  while (!Text.empty()) {
    const std::size_t Room = FChunkSize - FChunkFill;
    if (Text.size() < Room) {
      std::memcpy(FChunk.data() + FChunkFill, Text.data(), Text.size());
      FChunkFill += static_cast<std::uint32_t>(Text.size());
      break;
    }
    std::memcpy(FChunk.data() + FChunkFill, Text.data(), Room);
    FChunkFill = FChunkSize;
    Text.remove_prefix(Room);
    CodeChunk();
    // A chunk step that leaves the chunk full would stall the feed for ever.
    if (FChunkFill >= FChunkSize)
      throw ERangeError();
  }
  return FAutoFinish ? FinishInput() : TakeOutput();
}

std::string TIdCoder::FinishInput() {
  FFinishing = true;
  CodeFinalChunk();
  return TakeOutput();
}

std::string TIdCoder::TakeOutput() {
  if (FDropData && FDropNotices) {
    FOutputQueue.Clear();
    return {};
  }
  if (FOutputQueue.IsEmpty())
    return {};
  if (!IsDataEntry(FOutputQueue.Strings(0)))
    return FOutputQueue.Extract(0);
  // An entry that begins with "0;" already is "0;" and its data: it becomes the result.
  std::string Result = FOutputQueue.Extract(0);
  if (!HasDataPrefix(Result))
    Result = std::string(DataPrefix) + EntryData(std::move(Result));
  while (!FOutputQueue.IsEmpty() && IsDataEntry(FOutputQueue.Strings(0)))
    AppendEntryData(Result, FOutputQueue.Extract(0));
  return Result;
}

std::string TIdCoder::TakeNextData() {
  if (FDropData && FDropNotices) {
    FOutputQueue.Clear();
    return {};
  }
  if (!FOutputQueue.IsEmpty() && !IsDataEntry(FOutputQueue.Strings(0))) {
    if (!FDropNotices)
      return {};
    while (!FOutputQueue.IsEmpty() && !IsDataEntry(FOutputQueue.Strings(0)))
      FOutputQueue.Delete(0);
  }
  if (FOutputQueue.IsEmpty())
    return {};
  return EntryData(FOutputQueue.Extract(0));
}

void TIdCoder::Reset() {
  ApplyChunkSize(static_cast<std::int32_t>(FChunkSize));
  FFinishing = false;
  FOutputQueue.Clear();
}

void TIdCoder::AssignParam(std::string Param) {
  FParamText = std::move(Param);
}

void TIdCoder::ResizeChunk(std::uint32_t Size) {
  if (Size > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max()))
    throw ERangeError();
  ApplyChunkSize(static_cast<std::int32_t>(Size));
}

// The chunk is emptied only once the piece is delivered: a failing OnDataReady leaves the
// chunk holding what it held.
void TIdCoder::CodeChunk() {
  EmitOutput(std::string_view(FChunk.data(), FChunkSize));
  CountProcessed(FChunkSize);
  FChunkFill = 0;
}

void TIdCoder::CodeFinalChunk() {
  EmitOutput(std::string_view(FChunk.data(), FChunkFill));
  CountProcessed(FChunkFill);
  FChunkFill = 0;
}

void TIdCoder::EmitOutput(std::string_view Piece) {
  const std::string_view Break = FAppendLineBreak ? LineBreak : std::string_view();
  AddToCounter64(FOutputCount, static_cast<std::uint32_t>(Piece.size() + Break.size()));
  if (FUseDataEvent) {
    if (FOnDataReady)
      FOnDataReady(*this, Joined({Piece, Break}));
    return;
  }
  FOutputQueue.Add(Joined({DataPrefix, Piece, Break}));
}

void TIdCoder::ApplyChunkSize(std::int32_t Size) {
  // A chunk holds at least one byte: with none, a non-empty text could never be consumed.
  if (Size < 1)
    throw ERangeError();
  const auto NewSize = static_cast<std::uint32_t>(Size);
  if (NewSize > FChunk.size())
    FChunk.resize(NewSize);
  FChunkSize = NewSize;
  FChunkFill = 0;
}

void TIdCoder::CountProcessed(std::uint32_t Amount) noexcept {
  AddToCounter64(FProcessedCount, Amount);
}

std::unique_ptr<TIdCoderCollection> CoderRegistry;

std::unique_ptr<TIdCoder> TIdCoderItem::CreateCoder(TComponent* Owner) const {
  if (!FCoderClass)
    throw EIdException(LoadResString(TResString::NoCoderClass));
  return FCoderClass.Create(Owner);
}

TIdCoderCollection::TIdCoderCollection() noexcept
    : TCollection(TCollectionItemClass::Of<TIdCoderItem>()) {}

TIdCoderItem& TIdCoderCollection::AddEntry() {
  ++FRegisteredCount;
  return static_cast<TIdCoderItem&>(Add());
}

TIdCoderItem& TIdCoderCollection::Items(std::size_t Index) const {
  // Every item was made by the item class this collection was created with.
  return static_cast<TIdCoderItem&>(TCollection::Items(Index));
}

TIdCoderItem* TIdCoderCollection::FindEntry(std::string_view Name,
                                            std::uint8_t Direction) const noexcept {
  // An empty name would match every entry that leaves one of its names empty.
  if (Name.empty())
    return nullptr;
  for (std::size_t I = 0; I < Count(); ++I) {
    TIdCoderItem& Entry = Items(I);
    if (Entry.Direction() == Direction &&
        (SameTextAscii(Entry.TransferEncoding(), Name) || SameTextAscii(Entry.MediaType(), Name)))
      return &Entry;
  }
  return nullptr;
}

void RegisterCoder(TIdCoderClass CoderClass, std::uint8_t Direction, std::uint8_t Preference,
                   std::string_view MediaType, std::string_view TransferEncoding) {
  if (!CoderRegistry)
    throw EIdException(LoadResString(TResString::NoCoderRegistry));
  TIdCoderItem& Entry = CoderRegistry->AddEntry();
  Entry.SetCoderClass(CoderClass);
  Entry.SetDirection(Direction);
  Entry.SetPreference(Preference);
  Entry.SetMediaType(std::string(MediaType));
  Entry.SetTransferEncoding(std::string(TransferEncoding));
}

std::unique_ptr<TIdCoder> CreateRegisteredCoder(std::string_view Name, std::uint8_t Direction,
                                                TComponent* Owner) {
  if (!CoderRegistry)
    throw EIdException(LoadResString(TResString::NoCoderRegistry));
  const TIdCoderItem* Entry = CoderRegistry->FindEntry(Name, Direction);
  // The digests are listed under the experimental transfer encodings "x-rsa-md5" and the
  // like; their common names ("MD5", "md5") are those names without the prefix.
  constexpr std::string_view CommonNamePrefix = "x-rsa-";
  if (Entry == nullptr && !Name.empty())
    Entry = CoderRegistry->FindEntry(std::string(CommonNamePrefix).append(Name), Direction);
  if (Entry == nullptr)
    throw EIdException(
        FormatResString(TResString::CoderNotFound, {Name, std::to_string(Direction)}));
  return Entry->CreateCoder(Owner);
}

void InitializeIdCoderOld() {
  CoderRegistry = std::make_unique<TIdCoderCollection>();
  const TIdCoderClass Identity = CoderClassOf<TIdCoder>("TIdCoder");
  RegisterCoder(Identity, 0, 0, "application/octet-stream", "");
  RegisterCoder(Identity, 128, 0, "application/octet-stream", "");
}

void FinalizeIdCoderOld() {
  CoderRegistry.reset();
}

} // namespace md5b64
