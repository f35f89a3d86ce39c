// IdCoderOld: the buffered, chunk-oriented coder base with its counters and output queue.
#ifndef MD5B64_CODERS_IDCODEROLD_H
#define MD5B64_CODERS_IDCODEROLD_H

#include "platform/Component.h"
#include "platform/StringList.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace md5b64 {

/// A 64-bit unsigned byte counter held as two 32-bit halves, low half first; its value is
/// High * 2^32 + Low. Changed only through AddToCounter64.
struct TCounter64 {
  std::uint32_t Low = 0;
  std::uint32_t High = 0;

  constexpr std::uint64_t Value() const noexcept {
    return (static_cast<std::uint64_t>(High) << 32) | Low;
  }
};

/// Adds Amount to Counter. A carry out of the low half goes into the high half; a sum that
/// would pass 2^64 - 1 sets both halves to 0.
void AddToCounter64(TCounter64& Counter, std::uint32_t Amount) noexcept;

class TIdCoder;

/// Receives each emitted piece while UseDataEvent is on: the emitting coder and the piece.
using TIdDataReadyEvent = std::function<void(TIdCoder& Sender, const std::string& Piece)>;

/// Base of the buffered coders. Input is collected in a chunk of ChunkSize bytes; every
/// full chunk goes to CodeChunk as soon as it fills, and the partial chunk left at the end
/// goes to CodeFinalChunk when the input is finished. What the chunk steps emit is queued in
/// OutputQueue as entries "<kind>;<data>", kind 0 for coded data and any other kind for a
/// notice, and taken by TakeOutput or TakeNextData. The base codes nothing: its chunk steps
/// pass the bytes through, so a plain TIdCoder is an identity coder.
class TIdCoder : public TIdBaseComponent {
public:
  /// Chunk size of a new coder, and the length of its chunk buffer.
  static constexpr std::uint32_t DefaultChunkSize = 4096;

  explicit TIdCoder(TComponent* AOwner = nullptr);

  /// Adds the bytes of AText to the input, coding every chunk that becomes full. Returns
  /// FinishInput() when AutoFinish is on, otherwise TakeOutput().
  std::string FeedText(std::string_view AText);
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
  /// Stores AParam as ParamText.
  virtual void AssignParam(std::string AParam);
  /// Sets the chunk size through ApplyChunkSize. Raises ERangeError for 0 and for sizes
  /// above 2^31 - 1, before anything changes.
  virtual void ResizeChunk(std::uint32_t ASize);

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
  void EmitOutput(std::string APiece);
  /// A piece holding the ALength bytes at AData, made with room for the line break and the
  /// kind that EmitOutput may add, so that it is queued without another copy.
  static std::string MakePiece(const char* AData, std::size_t ALength);
  /// Sets the chunk size, lengthening Chunk when it is shorter (it never shrinks) and
  /// dropping the bytes held. Raises ERangeError for a size below 1, before anything
  /// changes.
  void ApplyChunkSize(std::int32_t ASize);
  /// Adds AAmount to ProcessedCount.
  void CountProcessed(std::uint32_t AAmount) noexcept;

  std::string FChunk;
  std::uint32_t FChunkSize = DefaultChunkSize;
  std::uint32_t FChunkFill = 0;
  bool FFinishing = false;

private:
  bool FAppendLineBreak = false;
  bool FAutoFinish = false;
  TCounter64 FProcessedCount;
  TCounter64 FInputCount;
  TCounter64 FOutputCount;
  bool FDropData = false;
  bool FDropNotices = false;
  std::string FParamText;
  TIdDataReadyEvent FOnDataReady;
  TStringList FOutputQueue;
  bool FUseDataEvent = false;
};

} // namespace md5b64

#endif
