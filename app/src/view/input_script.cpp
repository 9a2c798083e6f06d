// Reading and playing scripted input.
#include "view/input_script.h"
#include "host_kit.h"

#include <xelhost/errors.h>
#include <xelhost/message_text.h>

#include <winui/screen.h>
#include <winui/winuser.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>
#include <sstream>
#include <string_view>

namespace xelimg::view {

namespace {

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

int KeyCode(std::string name, const std::string& event) {
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  static const std::map<std::string, int> named = {
      {"space", VK_SPACE}, {"left", VK_LEFT}, {"right", VK_RIGHT}, {"home", VK_HOME},      {"end", VK_END},
      {"pgup", VK_PRIOR},  {"pgdn", VK_NEXT}, {"plus", VK_ADD},    {"minus", VK_SUBTRACT}, {"escape", VK_ESCAPE}};
  if (const auto it = named.find(name); it != named.end()) return it->second;
  if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
    return std::toupper(static_cast<unsigned char>(name[0]));
  }
  if (name.size() >= 2 && name[0] == 'f') {
    int n = 0;
    const auto [end, error] = std::from_chars(name.data() + 1, name.data() + name.size(), n);
    if (error == std::errc() && end == name.data() + name.size() && n >= 1 && n <= 12) return VK_F1 + n - 1;
  }
  throw UsageError("--input: unknown key in " + QuoteForMessage(event));
}

// Screen points and notches far beyond any screen, yet far from where a drag's midpoint could overflow.
constexpr int kNumberLimit = 100000;

std::vector<int> Numbers(const std::string& text, std::size_t count, const std::string& event) {
  const auto refuse = [&] {
    return UsageError("--input: expected " + std::to_string(count) + " numbers separated by commas in " +
                      QuoteForMessage(event));
  };
  std::vector<int> numbers;
  std::stringstream parts(text);
  std::string part;
  while (std::getline(parts, part, ',')) {
    part = Trim(part);
    int n = 0;
    const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), n);
    if (part.empty() || (error != std::errc() && error != std::errc::result_out_of_range) ||
        end != part.data() + part.size()) {
      throw refuse();
    }
    if (error == std::errc::result_out_of_range || n < -kNumberLimit || n > kNumberLimit) {
      throw UsageError("--input: " + QuoteForMessage(part) + " lies outside " + std::to_string(-kNumberLimit) + ".." +
                       std::to_string(kNumberLimit) + " in " + QuoteForMessage(event));
    }
    numbers.push_back(n);
  }
  if (numbers.size() != count) throw refuse();
  return numbers;
}

InputEvent ParseEvent(const std::string& event) {
  const auto space = event.find(' ');
  const std::string verb = event.substr(0, space);
  const std::string rest = space == std::string::npos ? std::string() : Trim(event.substr(space + 1));
  InputEvent out{InputEvent::Kind::Key};
  if (verb == "key") {
    constexpr std::string_view kShift = "shift+";
    out.shift = rest.size() > kShift.size() &&
                std::equal(kShift.begin(), kShift.end(), rest.begin(),
                           [](char a, char b) { return std::tolower(static_cast<unsigned char>(b)) == a; });
    out.key = KeyCode(out.shift ? rest.substr(kShift.size()) : rest, event);
  } else if (verb == "move" || verb == "click" || verb == "rclick") {
    out.kind = verb == "move"    ? InputEvent::Kind::Move
               : verb == "click" ? InputEvent::Kind::Click
                                 : InputEvent::Kind::RightClick;
    const auto n = Numbers(rest, 2, event);
    out.from = POINT{n[0], n[1]};
  } else if (verb == "drag" || verb == "mdrag" || verb == "sdrag") {
    out.kind = verb == "drag"    ? InputEvent::Kind::Drag
               : verb == "mdrag" ? InputEvent::Kind::MiddleDrag
                                 : InputEvent::Kind::ShiftDrag;
    const auto n = Numbers(rest, 4, event);
    out.from = POINT{n[0], n[1]};
    out.to = POINT{n[2], n[3]};
  } else if (verb == "wheel") {
    out.kind = InputEvent::Kind::Wheel;
    const auto n = Numbers(rest, 3, event);
    out.from = POINT{n[0], n[1]};
    out.notches = n[2];
    if (out.notches < -100 || out.notches > 100)
      throw UsageError("--input: at most 100 notches in " + QuoteForMessage(event));
  } else {
    throw UsageError("--input: " + QuoteForMessage(event) +
                     " is not key, move, click, rclick, drag, mdrag, sdrag or wheel");
  }
  return out;
}

void Drag(const InputEvent& event, winui::MouseButton button) {
  winui::InjectMouseMove(event.from);
  winui::InjectMouseDown(event.from, button);
  winui::InjectMouseMove(POINT{(event.from.x + event.to.x) / 2, (event.from.y + event.to.y) / 2});
  winui::InjectMouseMove(event.to);
  winui::InjectMouseUp(event.to, button);
}

}  // namespace

std::vector<InputEvent> ParseInputScript(const std::string& text) {
  std::vector<InputEvent> events;
  std::stringstream parts(text);
  std::string part;
  while (std::getline(parts, part, ';')) {
    part = Trim(part);
    if (!part.empty()) events.push_back(ParseEvent(part));
  }
  return events;
}

void Inject(const InputEvent& event) {
  switch (event.kind) {
    case InputEvent::Kind::Key:
      winui::InjectKeyPress(event.key, event.shift ? std::vector<int>{VK_SHIFT} : std::vector<int>{});
      break;
    case InputEvent::Kind::Move:
      winui::InjectMouseMove(event.from);
      break;
    case InputEvent::Kind::Click:
      winui::InjectClick(event.from);
      break;
    case InputEvent::Kind::RightClick:
      winui::InjectClick(event.from, winui::MouseButton::Right);
      break;
    case InputEvent::Kind::Drag:
      Drag(event, winui::MouseButton::Left);
      break;
    case InputEvent::Kind::MiddleDrag:
      Drag(event, winui::MouseButton::Middle);
      break;
    case InputEvent::Kind::ShiftDrag:
      winui::InjectKeyDown(VK_SHIFT);
      Drag(event, winui::MouseButton::Left);
      winui::InjectKeyUp(VK_SHIFT);
      break;
    case InputEvent::Kind::Wheel:
      winui::InjectMouseWheel(event.from, event.notches);
      break;
  }
}

}  // namespace xelimg::view
