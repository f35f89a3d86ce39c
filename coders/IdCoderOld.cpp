#include "coders/IdCoderOld.h"

#include "coders/IdCoder.h"
#include "platform/IdGlobal.h"
#include "platform/ResStrings.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <cstring>
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

TIdCoder::TIdCoder(TComponent* AOwner) : TIdBaseComponent(AOwner), FChunk(DefaultChunkSize, '\0') {}

std::string TIdCoder::FeedText(std::string_view AText) {
  // Texts longer than one 32-bit amount are counted in steps.
  for (std::string_view Rest = AText; !Rest.empty();) {
    const std::size_t Step = std::min<std::size_t>(Rest.size(), 0xFFFFFFFFU);
    AddToCounter64(FInputCount, static_cast<std::uint32_t>(Step));
    Rest.remove_prefix(Step);
  }
  while (!AText.empty()) {
    const std::size_t Room = FChunkSize - FChunkFill;
    if (AText.size() < Room) {
      std::memcpy(FChunk.data() + FChunkFill, AText.data(), AText.size());
      FChunkFill += static_cast<std::uint32_t>(AText.size());
      break;
    }
    std::memcpy(FChunk.data() + FChunkFill, AText.data(), Room);
    FChunkFill = FChunkSize;
    AText.remove_prefix(Room);
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

void TIdCoder::AssignParam(std::string AParam) {
  FParamText = std::move(AParam);
}

void TIdCoder::ResizeChunk(std::uint32_t ASize) {
  if (ASize > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max()))
    throw ERangeError();
  ApplyChunkSize(static_cast<std::int32_t>(ASize));
}

// The chunk is emptied only once the piece is delivered: a failing OnDataReady leaves the
// chunk holding what it held.
void TIdCoder::CodeChunk() {
  EmitOutput(MakePiece(FChunk.data(), FChunkSize));
  CountProcessed(FChunkSize);
  FChunkFill = 0;
}

void TIdCoder::CodeFinalChunk() {
  EmitOutput(MakePiece(FChunk.data(), FChunkFill));
  CountProcessed(FChunkFill);
  FChunkFill = 0;
}

void TIdCoder::EmitOutput(std::string APiece) {
  if (FAppendLineBreak)
    APiece += LineBreak;
  AddToCounter64(FOutputCount, static_cast<std::uint32_t>(APiece.size()));
  if (FUseDataEvent) {
    if (FOnDataReady)
      FOnDataReady(*this, APiece);
    return;
  }
  if (const std::size_t Length = APiece.size(); APiece.capacity() >= DataPrefix.size() + Length) {
    // A piece made by MakePiece has room for its kind: it becomes the entry in place, its
    // bytes moved up by hand (a general insert weighs as much as a short digest's queueing).
    APiece.append(DataPrefix.size(), DataKind);
    char* Data = APiece.data();
    std::memmove(Data + DataPrefix.size(), Data, Length);
    std::memcpy(Data, DataPrefix.data(), DataPrefix.size());
    FOutputQueue.Add(std::move(APiece));
    return;
  }
  std::string Entry;
  Entry.reserve(DataPrefix.size() + APiece.size());
  Entry.append(DataPrefix).append(APiece);
  FOutputQueue.Add(std::move(Entry));
}

std::string TIdCoder::MakePiece(const char* AData, std::size_t ALength) {
  std::string Piece;
  Piece.reserve(DataPrefix.size() + ALength + LineBreak.size());
  Piece.append(AData, ALength);
  return Piece;
}

void TIdCoder::ApplyChunkSize(std::int32_t ASize) {
  // A chunk holds at least one byte: with none, a non-empty text could never be consumed.
  if (ASize < 1)
    throw ERangeError();
  const auto Size = static_cast<std::uint32_t>(ASize);
  if (Size > FChunk.size())
    FChunk.resize(Size);
  FChunkSize = Size;
  FChunkFill = 0;
}

void TIdCoder::CountProcessed(std::uint32_t AAmount) noexcept {
  AddToCounter64(FProcessedCount, AAmount);
}

std::unique_ptr<TIdCoderCollection> CoderRegistry;

std::unique_ptr<TIdCoder> TIdCoderItem::CreateCoder(TComponent* AOwner) const {
  if (!FCoderClass)
    throw EIdException(LoadResString(TResString::NoCoderClass));
  return FCoderClass.Create(AOwner);
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

TIdCoderItem* TIdCoderCollection::FindEntry(std::string_view AName,
                                            std::uint8_t ADirection) const noexcept {
  // An empty name would match every entry that leaves one of its names empty.
  if (AName.empty())
    return nullptr;
  for (std::size_t I = 0; I < Count(); ++I) {
    TIdCoderItem& Entry = Items(I);
    if (Entry.Direction() == ADirection &&
        (SameTextAscii(Entry.TransferEncoding(), AName) || SameTextAscii(Entry.MediaType(), AName)))
      return &Entry;
  }
  return nullptr;
}

void RegisterCoder(TIdCoderClass ACoderClass, std::uint8_t ADirection, std::uint8_t APreference,
                   std::string_view AMediaType, std::string_view ATransferEncoding) {
  if (!CoderRegistry)
    throw EIdException(LoadResString(TResString::NoCoderRegistry));
  TIdCoderItem& Entry = CoderRegistry->AddEntry();
  Entry.SetCoderClass(ACoderClass);
  Entry.SetDirection(ADirection);
  Entry.SetPreference(APreference);
  Entry.SetMediaType(std::string(AMediaType));
  Entry.SetTransferEncoding(std::string(ATransferEncoding));
}

std::unique_ptr<TIdCoder> CreateRegisteredCoder(std::string_view AName, std::uint8_t ADirection,
                                                TComponent* AOwner) {
  if (!CoderRegistry)
    throw EIdException(LoadResString(TResString::NoCoderRegistry));
  const TIdCoderItem* Entry = CoderRegistry->FindEntry(AName, ADirection);
  // The digests are listed under the experimental transfer encodings "x-rsa-md5" and the
  // like; their common names ("MD5", "md5") are those names without the prefix.
  constexpr std::string_view CommonNamePrefix = "x-rsa-";
  if (Entry == nullptr && !AName.empty())
    Entry = CoderRegistry->FindEntry(std::string(CommonNamePrefix).append(AName), ADirection);
  if (Entry == nullptr)
    throw EIdException(
        FormatResString(TResString::CoderNotFound, {AName, std::to_string(ADirection)}));
  return Entry->CreateCoder(AOwner);
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
