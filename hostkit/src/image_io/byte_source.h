// Where a decoder's bytes come from: a buffer in memory or a file read on demand, so that a file is
// never held whole beside the image decoded from it.
#pragma once

#include <xelhost/framework_types.h>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include <XelImgProcess/XelTypes.h>

namespace xelhost::image_io {

class ByteSource {
 public:
  explicit ByteSource(std::string name) : m_Name(std::move(name)) {}
  virtual ~ByteSource() = default;
  ByteSource(const ByteSource&) = delete;
  ByteSource& operator=(const ByteSource&) = delete;

  // Up to count bytes from the current position; fewer only at the end. Throws ImageIoError naming
  // the source for a read error.
  virtual std::size_t Read(void* out, std::size_t count) = 0;
  // Positions past the end are allowed; reading there gives nothing.
  virtual void Seek(std::uint64_t position) = 0;
  virtual std::uint64_t Position() const = 0;
  virtual std::uint64_t Size() const = 0;
  const std::string& Name() const { return m_Name; }

 private:
  std::string m_Name;
};

class MemorySource final : public ByteSource {
 public:
  MemorySource(std::span<const BYTE> bytes, std::string name) : ByteSource(std::move(name)), m_Bytes(bytes) {}
  std::size_t Read(void* out, std::size_t count) override;
  void Seek(std::uint64_t position) override { m_Pos = position; }
  std::uint64_t Position() const override { return m_Pos; }
  std::uint64_t Size() const override { return m_Bytes.size(); }

 private:
  std::span<const BYTE> m_Bytes;
  std::uint64_t m_Pos = 0;
};

// A regular file, opened without blocking and checked before anything is read: directories,
// devices, FIFOs and sockets are refused with a message naming the path. Reads go through a small
// buffer, as decoders ask for a few bytes at a time.
class FileSource final : public ByteSource {
 public:
  explicit FileSource(const std::filesystem::path& file);
  ~FileSource() override;
  std::size_t Read(void* out, std::size_t count) override;
  void Seek(std::uint64_t position) override;
  std::uint64_t Position() const override { return m_Pos; }
  std::uint64_t Size() const override { return m_Size; }

 private:
  int m_Fd = -1;
  std::uint64_t m_Size = 0;
  std::uint64_t m_Pos = 0;
  std::vector<BYTE> m_Buffer;
  std::uint64_t m_BufferStart = 0;  // file offset of m_Buffer[0]
};

}  // namespace xelhost::image_io
