// The common PNGs (8- or 16-bit grey or RGB, not interlaced, a few megabytes at most) decoded from
// the whole file at once: one inflate call by libdeflate and our own row filters, several times
// faster than libpng's streaming through zlib. libpng stays the authority: every file this decoder
// does not take, and every one whose data it finds wrong, is decoded (or refused, with libpng's
// message) by libpng, so both give the same pixels and the same errors.
#pragma once

#include "image_io/frame_decoder.h"

#include <memory>

namespace xelhost::image_io {

// Null when the file is not one of the common kinds; the source is then back at its start.
std::unique_ptr<FrameDecoder> OpenWholePngDecoder(ByteSource& source, FrameAllowance& allowance, DecoderOpener libpng);

}  // namespace xelhost::image_io
