// Decoders behind the readers: the headers first, then one frame at a time, each into its own buffer
// and each admitted by the read's allowance before its memory is taken.
#pragma once

#include <xelhost/framework_types.h>
#include "image_io/byte_source.h"

#include <xelhost/image_io.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace xelhost::image_io {

// The deflate stream's largest ratio of decoded to encoded bytes (258 bytes from 2 bits).
inline constexpr std::uint64_t kDeflateMaxRatio = 1032;
// For encodings whose ratio has no useful bound only the byte limit counts.
inline constexpr std::uint64_t kUnboundedRatio = UINT64_MAX;

// Keeps one read within its limits: the decoded bytes of its frames (together, or each on its own for
// a frame-by-frame reader), its frame count, and what the source's bytes can hold.
class FrameAllowance {
 public:
  FrameAllowance(const ReadLimits& limits, std::uint64_t sourceBytes, std::string name, bool eachFrameApart);

  // Bytes of a frame of this size and layout; throws for an image without pixels or too large to address.
  std::size_t FrameBytes(std::uint64_t width, std::uint64_t height, const PixelLayout& layout) const;
  // Before page `index` (counted from 0) is looked at.
  void CheckFrameIndex(std::uint64_t index) const;
  // Before a frame's memory is taken: frameBytes decoded from encodedBytes of stored data (before our
  // own unpacking), which must come from at most availableBytes of the source at maxRatio.
  void Admit(std::size_t frameBytes, std::uint64_t encodedBytes, std::uint64_t availableBytes, std::uint64_t maxRatio);
  const std::string& Name() const { return m_Name; }

 private:
  [[noreturn]] void Refuse(const std::string& why) const;

  ReadLimits m_Limits;
  std::uint64_t m_SourceBytes;
  std::string m_Name;
  bool m_EachFrameApart;
  std::uint64_t m_Admitted = 0;  // decoded bytes so far
  std::uint64_t m_Encoded = 0;   // stored bytes so far
  std::uint64_t m_MaxRatio = 1;  // largest ratio seen, for what the whole source can hold
};

class FrameDecoder {
 public:
  virtual ~FrameDecoder() = default;
  // Size and layout of every frame (frames: 1), from the first header.
  const ImageFileInfo& Info() const { return m_Info; }
  bool SignificantBitsDeclared() const { return m_BitsDeclared; }
  // Decodes the next frame into `frame`; false after the last. Throws ImageIoError naming the source.
  virtual bool Next(FrameBuffer& frame) = 0;
  // Checks the next frame's header without decoding its pixels; false after the last.
  virtual bool Skip() = 0;

 protected:
  // Right before a frame's memory is taken: draws it from the budget of the frame the thread works on.
  void ChargeFrame(const std::string& sourceName) const;

  ImageFileInfo m_Info;
  bool m_BitsDeclared = false;
};

// The source and the allowance must outlive the decoder. Throws ImageIoError for what is not a
// PNG, TIFF or binary PGM, or a broken header.
std::unique_ptr<FrameDecoder> OpenFrameDecoder(ByteSource& source, FrameAllowance& allowance);
std::unique_ptr<FrameDecoder> OpenPngDecoder(ByteSource& source, FrameAllowance& allowance);
std::unique_ptr<FrameDecoder> OpenTiffDecoder(ByteSource& source, FrameAllowance& allowance);
std::unique_ptr<FrameDecoder> OpenPgmDecoder(ByteSource& source, FrameAllowance& allowance);

// Every frame of the decoder in one image.
Image DecodeAllFrames(FrameDecoder& decoder);

// Every frame of bytes already in memory, through the given decoder (one of the above).
using DecoderOpener = std::unique_ptr<FrameDecoder> (*)(ByteSource&, FrameAllowance&);
Image DecodeBytes(std::span<const BYTE> bytes, const std::string& sourceName, DecoderOpener open,
                  const ReadLimits& limits = {});

}  // namespace xelhost::image_io
