// Limits of one read: decoded bytes, frames, and what the source's size can hold.
#include "image_io/frame_decoder.h"

#include <xelhost/memory_budget.h>

#include <algorithm>
#include <limits>

namespace xelhost::image_io {

namespace {

std::uint64_t SaturatingProduct(std::uint64_t a, std::uint64_t b) {
  if (a != 0 && b > std::numeric_limits<std::uint64_t>::max() / a) return std::numeric_limits<std::uint64_t>::max();
  return a * b;
}

}  // namespace

FrameAllowance::FrameAllowance(const ReadLimits& limits, std::uint64_t sourceBytes, std::string name,
                               bool eachFrameApart)
    : m_Limits(limits), m_SourceBytes(sourceBytes), m_Name(std::move(name)), m_EachFrameApart(eachFrameApart) {}

void FrameAllowance::Refuse(const std::string& why) const { throw ImageLimitError(m_Name + ": " + why); }

std::size_t FrameAllowance::FrameBytes(std::uint64_t width, std::uint64_t height, const PixelLayout& layout) const {
  if (width == 0 || height == 0) throw ImageIoError(m_Name + ": image has no pixels");
  constexpr auto kMaxSide = static_cast<std::uint64_t>(std::numeric_limits<LONG>::max());
  if (width > kMaxSide || height > kMaxSide) Refuse("image size does not fit");
  const std::uint64_t bytes = SaturatingProduct(SaturatingProduct(width, height), layout.BytesPerPixel());
  if (bytes > m_Limits.maxDecodedBytes) {
    Refuse("image of " + std::to_string(width) + " x " + std::to_string(height) + " pixels needs " +
           ByteSizeText(bytes) + ", more than the limit of " + ByteSizeText(m_Limits.maxDecodedBytes));
  }
  return static_cast<std::size_t>(bytes);
}

void FrameAllowance::CheckFrameIndex(std::uint64_t index) const {
  if (index >= m_Limits.maxFrames)
    throw ImageIoError(m_Name + ": more than " + std::to_string(m_Limits.maxFrames) + " pages");
}

void FrameAllowance::Admit(std::size_t frameBytes, std::uint64_t encodedBytes, std::uint64_t availableBytes,
                           std::uint64_t maxRatio) {
  if (encodedBytes > SaturatingProduct(availableBytes, maxRatio)) {
    throw ImageIoError(m_Name + ": declares " + std::to_string(encodedBytes) + " bytes of image data, more than its " +
                       std::to_string(availableBytes) + " bytes can hold (truncated or corrupt)");
  }
  m_MaxRatio = std::max(m_MaxRatio, maxRatio);
  m_Encoded += encodedBytes;
  // Pages that share their data each pass the check above; together they cannot exceed the file.
  if (m_Encoded > SaturatingProduct(m_SourceBytes, m_MaxRatio)) {
    throw ImageIoError(m_Name + ": its pages declare " + std::to_string(m_Encoded) +
                       " bytes of image data, more than its " + std::to_string(m_SourceBytes) +
                       " bytes can hold (pages sharing their data, or corrupt)");
  }
  const std::uint64_t total = m_EachFrameApart ? frameBytes : m_Admitted + frameBytes;
  if (total > m_Limits.maxDecodedBytes) {
    Refuse("its pages need more than the limit of " + ByteSizeText(m_Limits.maxDecodedBytes));
  }
  m_Admitted = total;
}

}  // namespace xelhost::image_io
