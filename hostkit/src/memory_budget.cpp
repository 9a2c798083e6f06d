// The command's memory limit from its option or the environment, what it has reserved and what the
// frames in flight have drawn.
#include <xelhost/memory_budget.h>

#include <xelhost/errors.h>

#include <cctype>
#include <charconv>
#include <cstdlib>
#include <limits>
#include <utility>

namespace xelhost {

namespace {

// The frame the current thread works on, innermost first.
thread_local FrameCharges* t_Frame = nullptr;

}  // namespace

std::string ByteSizeText(std::size_t bytes) {
  if (bytes % (1u << 20) == 0 && bytes != 0) return std::to_string(bytes >> 20) + " MiB";
  if (bytes % (1u << 10) == 0 && bytes != 0) return std::to_string(bytes >> 10) + " KiB";
  if (bytes >= (std::size_t{10} << 20)) return std::to_string((bytes + (1u << 20) - 1) >> 20) + " MiB";
  return std::to_string(bytes) + " bytes";
}

std::size_t ParseByteSize(std::string_view source, const std::string& text) {
  const auto fail = [&] {
    throw UsageError(std::string(source) + ": '" + text + "' is not a size (bytes, or a number with K, M, G or T)");
  };
  std::size_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || value == 0) fail();
  std::string_view suffix(end, static_cast<std::size_t>(text.data() + text.size() - end));
  if (!suffix.empty() && (suffix.back() == 'B' || suffix.back() == 'b')) suffix.remove_suffix(1);
  if (suffix.size() == 2 && (suffix.back() == 'i' || suffix.back() == 'I')) suffix.remove_suffix(1);  // "MiB"
  unsigned shift = 0;
  if (suffix.size() == 1) {
    const std::string_view units = "KMGT";
    const std::size_t index = units.find(static_cast<char>(std::toupper(static_cast<unsigned char>(suffix[0]))));
    if (index == std::string_view::npos) fail();
    shift = 10 * static_cast<unsigned>(index + 1);
  } else if (!suffix.empty()) {
    fail();
  }
  if (value > (std::numeric_limits<std::size_t>::max() >> shift)) fail();
  return value << shift;
}

MemoryBudget MemoryBudget::FromArguments(const Arguments& args) {
  if (const auto text = args.Value(kMaxMemoryOption.name)) return MemoryBudget(ParseByteSize("--max-memory", *text));
  if (const char* text = std::getenv(kMaxMemoryVariable); text != nullptr && text[0] != '\0') {
    return MemoryBudget(ParseByteSize(kMaxMemoryVariable, text));
  }
  return MemoryBudget(kDefaultMaxMemory);
}

const char* const kLimitHint = "--max-memory or XELIMG_MAX_MEMORY raise the limit";

std::size_t MemoryBudget::Available() const {
  std::lock_guard lock(m_Mutex);
  return m_Limit - m_Reserved - m_Drawn;
}

void MemoryBudget::Reserve(std::size_t bytes, const std::string& what) {
  std::lock_guard lock(m_Mutex);
  const std::size_t left = m_Limit - m_Reserved - m_Drawn;
  if (bytes > left) {
    throw CommandError(what + " needs " + ByteSizeText(bytes) + ", more than the " + ByteSizeText(left) + " left of " +
                       ByteSizeText(m_Limit) + " (" + kLimitHint + ")");
  }
  m_Reserved += bytes;
}

MemoryBudget::Lease MemoryBudget::Draw(std::size_t bytes, const std::string& what, std::size_t held) {
  std::unique_lock lock(m_Mutex);
  bool waiting = false;
  for (;;) {
    // What could ever be free for this caller: everything but the reservations and its own leases.
    const std::size_t reachable = m_Limit - m_Reserved - held;
    if (bytes > reachable) {
      if (waiting) m_HolderWaits = false;
      const std::string room = reachable == m_Limit
                                   ? "the limit of " + ByteSizeText(m_Limit)
                                   : "the " + ByteSizeText(reachable) + " left of " + ByteSizeText(m_Limit);
      throw CommandError(what + " needs " + ByteSizeText(bytes) + ", more than " + room + " (" + kLimitHint + ")");
    }
    if (bytes <= m_Limit - m_Reserved - m_Drawn) break;
    // Callers that wait while holding could each wait for the other's bytes; one at a time cannot.
    if (held > 0 && !waiting) {
      if (m_HolderWaits) {
        throw CommandError(what + " needs " + ByteSizeText(bytes) + " more while other frames hold the rest of " +
                           ByteSizeText(m_Limit) + " (" + kLimitHint + ")");
      }
      m_HolderWaits = true;
      waiting = true;
    }
    m_Returned.wait(lock);
  }
  if (waiting) m_HolderWaits = false;
  m_Drawn += bytes;
  return Lease(this, bytes);
}

void MemoryBudget::Return(std::size_t bytes) {
  {
    std::lock_guard lock(m_Mutex);
    m_Drawn -= bytes;
  }
  m_Returned.notify_all();
}

MemoryBudget::Lease::Lease(Lease&& other) noexcept
    : m_Budget(std::exchange(other.m_Budget, nullptr)), m_Bytes(std::exchange(other.m_Bytes, 0)) {}

MemoryBudget::Lease& MemoryBudget::Lease::operator=(Lease&& other) noexcept {
  if (this != &other) {
    if (m_Budget != nullptr) m_Budget->Return(m_Bytes);
    m_Budget = std::exchange(other.m_Budget, nullptr);
    m_Bytes = std::exchange(other.m_Bytes, 0);
  }
  return *this;
}

MemoryBudget::Lease::~Lease() {
  if (m_Budget != nullptr) m_Budget->Return(m_Bytes);
}

FrameCharges::FrameCharges(MemoryBudget& budget, FrameCost cost)
    : m_Budget(budget), m_Cost(std::move(cost)), m_Outer(t_Frame) {
  t_Frame = this;
}

FrameCharges::~FrameCharges() { t_Frame = m_Outer; }

void FrameCharges::Charge(const ImageFileInfo& frame, const std::string& name) {
  FrameCharges* charges = t_Frame;
  if (charges == nullptr) return;
  const std::size_t bytes = charges->m_Cost(frame);
  charges->m_Leases.push_back(charges->m_Budget.Draw(bytes, name + ": the frame with its pictures", charges->m_Held));
  charges->m_Held += bytes;
}

}  // namespace xelhost
