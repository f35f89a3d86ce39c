// SPDX-License-Identifier: MIT
// IdCoderOld: the buffered, chunk-oriented coder base with its counters and output queue,
// and the registry of coder classes.
#ifndef MD5B64_CODERS_IDCODEROLD_H
#define MD5B64_CODERS_IDCODEROLD_H

#include "md5b64/Export.h"

#include "platform/Collection.h"
#include "platform/Component.h"
#include "platform/StringList.h"

#include <concepts>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace md5b64 {

/// A 64-bit unsigned byte counter held as two 32-bit halves, low half first; its value is
/// High * 2^32 + Low. Changed only through AddToCounter64.
struct MD5B64_API TCounter64 {
  std::uint32_t Low = 0;
  std::uint32_t High = 0;

  constexpr std::uint64_t Value() const noexcept {
    return (static_cast<std::uint64_t>(High) << 32) | Low;
  }
};

/// Adds Amount to Counter. A carry out of the low half goes into the high half; a sum that
/// would pass 2^64 - 1 sets both halves to 0.
MD5B64_API void AddToCounter64(TCounter64& Counter, std::uint32_t Amount) noexcept;

class TIdCoder;

/// Receives each emitted piece while UseDataEvent is on: the emitting coder and the piece.
using TIdDataReadyEvent = std::function<void(TIdCoder& Sender, const std::string& Piece)>;

/// Base of the buffered coders. Input is collected in a chunk of ChunkSize bytes; every
/// full chunk goes to CodeChunk as soon as it fills, and the partial chunk left at the end
/// goes to CodeFinalChunk when the input is finished. What the chunk steps emit is queued in
/// OutputQueue as entries "<kind>;<data>", kind 0 for coded data and any other kind for a
/// notice, and taken by TakeOutput or TakeNextData. The base codes nothing: its chunk steps
/// pass the bytes through, so a plain TIdCoder is an identity coder.
class MD5B64_API TIdCoder : public TIdBaseComponent {
public:
  /// Chunk size of a new coder, and the length of its chunk buffer.
  static constexpr std::uint32_t DefaultChunkSize = 4096;

  explicit TIdCoder(TComponent* Owner = nullptr);

  /// Adds the bytes of Text to the input, coding every chunk that becomes full. Returns
  /// FinishInput() when AutoFinish is on, otherwise TakeOutput().
  std::string FeedText(std::string_view Text);
  /// Sets Finishing, codes what the chunk still holds with CodeFinalChunk and returns
  /// TakeOutput().
  virtual std::string FinishInput();
  /// Takes the data of the one data entry at the head of the queue, without its kind.
  /// With DropNotices on, leading notices are dropped first; with it off, a notice at the
  /// head stops the take (empty result, queue unchanged). Empty when nothing is queued.
  virtual std::string TakeNextData();
  /// Takes all data entries at the head of the queue, merged, as "0;" and their data; or a
  /// notice at the head, whole; or the empty text when nothing is queued.
  virtual std::string TakeOutput();
  /// Starts a new input: drops the bytes held in the chunk and every queued entry, and
  /// clears Finishing. Counters, chunk size, flags, ParamText and OnDataReady stay.
  virtual void Reset();
  /// Stores Param as ParamText.
  virtual void AssignParam(std::string Param);
  /// Sets the chunk size through ApplyChunkSize. Raises ERangeError for 0 and for sizes
  /// above 2^31 - 1, before anything changes.
  virtual void ResizeChunk(std::uint32_t Size);

  bool AppendLineBreak() const noexcept { return FAppendLineBreak; }
  void SetAppendLineBreak(bool Value) noexcept { FAppendLineBreak = Value; }
  bool AutoFinish() const noexcept { return FAutoFinish; }
  void SetAutoFinish(bool Value) noexcept { FAutoFinish = Value; }
  bool DropData() const noexcept { return FDropData; }
  void SetDropData(bool Value) noexcept { FDropData = Value; }
  bool DropNotices() const noexcept { return FDropNotices; }
  void SetDropNotices(bool Value) noexcept { FDropNotices = Value; }
  bool UseDataEvent() const noexcept { return FUseDataEvent; }
  void SetUseDataEvent(bool Value) noexcept { FUseDataEvent = Value; }
  const TIdDataReadyEvent& OnDataReady() const noexcept { return FOnDataReady; }
  void SetOnDataReady(TIdDataReadyEvent Value) { FOnDataReady = std::move(Value); }

  /// Bytes consumed by the chunk steps.
  const TCounter64& ProcessedCount() const noexcept { return FProcessedCount; }
  /// Bytes fed through FeedText.
  const TCounter64& InputCount() const noexcept { return FInputCount; }
  /// Bytes of the emitted pieces, line breaks included.
  const TCounter64& OutputCount() const noexcept { return FOutputCount; }

  std::uint32_t ChunkSize() const noexcept { return FChunkSize; }
  std::uint32_t ChunkFill() const noexcept { return FChunkFill; }
  /// The chunk buffer; its length is its capacity.
  const std::string& Chunk() const noexcept { return FChunk; }
  bool Finishing() const noexcept { return FFinishing; }
  const std::string& ParamText() const noexcept { return FParamText; }
  /// The output entries, oldest first. Derived coders may append notices of their own.
  TStringList& OutputQueue() noexcept { return FOutputQueue; }
  const TStringList& OutputQueue() const noexcept { return FOutputQueue; }

protected:
  /// Codes the full chunk (ChunkFill equals ChunkSize); must consume it and leave ChunkFill
  /// at 0. The base emits the bytes unchanged.
  virtual void CodeChunk();
  /// Codes the 0 to ChunkSize - 1 bytes left when the input ends, emits whatever is still
  /// due and leaves ChunkFill at 0. The base emits the bytes unchanged, even when none.
  virtual void CodeFinalChunk();

  /// Delivers one piece of coded output: CR LF appended when AppendLineBreak is on, counted
  /// in OutputCount, then handed to OnDataReady when UseDataEvent is on (dropped if it is
  /// unset), otherwise queued as "0;" and the piece.
  void EmitOutput(std::string_view Piece);
  /// Sets the chunk size, lengthening Chunk when it is shorter (it never shrinks) and
  /// dropping the bytes held. Raises ERangeError for a size below 1, before anything
  /// changes.
  void ApplyChunkSize(std::int32_t Size);
  /// Adds Amount to ProcessedCount.
  void CountProcessed(std::uint32_t Amount) noexcept;

  std::string FChunk;
  std::uint32_t FChunkSize = DefaultChunkSize;
  std::uint32_t FChunkFill = 0;
  bool FFinishing = false;
  // Changed only through AddToCounter64. Reachable from a derived coder so that one can take
  // over a count kept elsewhere, or start near the ends of the 64-bit range.
  TCounter64 FProcessedCount;
  TCounter64 FInputCount;
  TCounter64 FOutputCount;

private:
  bool FAppendLineBreak = false;
  bool FAutoFinish = false;
  bool FDropData = false;
  bool FDropNotices = false;
  std::string FParamText;
  TIdDataReadyEvent FOnDataReady;
  TStringList FOutputQueue;
  bool FUseDataEvent = false;
};

/// A class reference for coders: the class's name and a way to create a new coder of it.
/// An unset reference has no name and creates nothing. Made by CoderClassOf.
struct MD5B64_API TIdCoderClass {
  using TFactory = std::unique_ptr<TIdCoder> (*)(TComponent* Owner);

  std::string_view ClassName;
  TFactory Create = nullptr;

  explicit operator bool() const noexcept { return Create != nullptr; }
  friend bool operator==(const TIdCoderClass&, const TIdCoderClass&) = default;
};

/// A new coder of class T. An owner, when given, frees the coder with itself: release the
/// pointer to hand the coder over to it.
template <std::derived_from<TIdCoder> T>
MD5B64_SHARED_ADDRESS std::unique_ptr<TIdCoder> CreateCoderOf(TComponent* Owner) {
  return std::make_unique<T>(Owner);
}

/// The class reference of coder class T, known by ClassName, which must live as long as
/// the reference (a literal does).
template <std::derived_from<TIdCoder> T>
constexpr TIdCoderClass CoderClassOf(std::string_view ClassName) noexcept {
  return {ClassName, &CreateCoderOf<T>};
}

/// One entry of the coder registry: a coder class and the name it is listed under.
class MD5B64_API TIdCoderItem : public TCollectionItem {
public:
  /// 0 or 128; each class is registered once with each value.
  std::uint8_t Direction() const noexcept { return FDirection; }
  void SetDirection(std::uint8_t Value) noexcept { FDirection = Value; }
  std::uint8_t Preference() const noexcept { return FPreference; }
  void SetPreference(std::uint8_t Value) noexcept { FPreference = Value; }
  /// The media type the class is listed under; empty where it is listed by transfer
  /// encoding.
  const std::string& MediaType() const noexcept { return FMediaType; }
  void SetMediaType(std::string Value) { FMediaType = std::move(Value); }
  /// The transfer-encoding name the class is listed under; empty where it is listed by
  /// media type.
  const std::string& TransferEncoding() const noexcept { return FTransferEncoding; }
  void SetTransferEncoding(std::string Value) { FTransferEncoding = std::move(Value); }
  const TIdCoderClass& CoderClass() const noexcept { return FCoderClass; }
  void SetCoderClass(TIdCoderClass Value) noexcept { FCoderClass = Value; }

  /// A new coder of CoderClass (see CreateCoderOf for Owner). Raises EIdException when the
  /// entry's class reference is unset.
  std::unique_ptr<TIdCoder> CreateCoder(TComponent* Owner = nullptr) const;

private:
  std::uint8_t FDirection = 0;
  std::uint8_t FPreference = 0;
  std::string FMediaType;
  std::string FTransferEncoding;
  TIdCoderClass FCoderClass;
};

/// The coder registry's collection of TIdCoderItem, in the order of registering.
class MD5B64_API TIdCoderCollection : public TCollection {
public:
  TIdCoderCollection() noexcept;

  /// Entries added through AddEntry.
  std::int32_t RegisteredCount() const noexcept { return FRegisteredCount; }
  /// Appends a new, empty entry and returns it.
  TIdCoderItem& AddEntry();
  /// The entry at Index; raises EListError outside the list.
  TIdCoderItem& Items(std::size_t Index) const;
  /// The first entry listed under Name, as transfer encoding or as media type (ASCII
  /// letters compared without regard to case), with Direction; none when no entry
  /// matches or Name is empty.
  TIdCoderItem* FindEntry(std::string_view Name, std::uint8_t Direction) const noexcept;

private:
  std::int32_t FRegisteredCount = 0;
};

/// The process-wide coder registry: created, with the base coder's entries, by the
/// start-up step of IdCoderOld, filled by the modules that use it, and freed with all its
/// entries by the shutdown step. Empty before start-up and after shutdown.
extern MD5B64_API std::unique_ptr<TIdCoderCollection> CoderRegistry;

/// Adds an entry for CoderClass to CoderRegistry. The same class may be registered any
/// number of times; every call adds an entry at the end. Raises EIdException when the
/// registry does not exist.
MD5B64_API void RegisterCoder(TIdCoderClass CoderClass, std::uint8_t Direction,
                              std::uint8_t Preference, std::string_view MediaType,
                              std::string_view TransferEncoding);

/// A new coder of the class that CoderRegistry lists under Name with Direction (see
/// TIdCoderCollection::FindEntry). Raises EIdException when the registry does not exist or
/// lists no coder under that name.
MD5B64_API std::unique_ptr<TIdCoder>
CreateRegisteredCoder(std::string_view Name, std::uint8_t Direction, TComponent* Owner = nullptr);

/// Start-up step of IdCoderOld: creates CoderRegistry and registers TIdCoder under
/// "application/octet-stream" with the directions 0 and 128.
MD5B64_API void InitializeIdCoderOld();
/// Shutdown step of IdCoderOld: frees CoderRegistry and its entries.
MD5B64_API void FinalizeIdCoderOld();

} // namespace md5b64

#endif
