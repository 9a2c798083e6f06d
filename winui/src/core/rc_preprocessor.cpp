// The preprocessor part of resource scripts: enough of cpp for what resource editors write.
#include "rc_tokens.h"

#include <cctype>
#include <cstdlib>
#include <sstream>

namespace winui::core {
namespace {

std::string Trim(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return std::string(s.substr(b, e - b));
}

std::string StripComments(std::string_view line, bool* inBlock) {
  std::string out;
  bool inString = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (*inBlock) {
      if (line.compare(i, 2, "*/") == 0) {
        *inBlock = false;
        ++i;
      }
      continue;
    }
    if (line[i] == '"') inString = !inString;
    if (!inString && line.compare(i, 2, "//") == 0) break;
    if (!inString && line.compare(i, 2, "/*") == 0) {
      *inBlock = true;
      ++i;
      continue;
    }
    out += line[i];
  }
  return out;
}

// #if expressions: numbers, defined(X), defined X, !, &&, ||, parentheses and known macros.
class ConditionEvaluator {
 public:
  ConditionEvaluator(std::string_view text, const RcDefines& defines) : text_(text), defines_(defines) {}
  long Evaluate() { return Or(); }

 private:
  void Skip() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
  }
  bool Eat(std::string_view op) {
    Skip();
    if (text_.compare(pos_, op.size(), op) != 0) return false;
    pos_ += op.size();
    return true;
  }
  std::string Word() {
    Skip();
    std::size_t b = pos_;
    while (pos_ < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_')) ++pos_;
    return std::string(text_.substr(b, pos_ - b));
  }
  long Or() {
    long v = And();
    while (Eat("||")) v = (And() || v) ? 1 : 0;
    return v;
  }
  long And() {
    long v = Unary();
    while (Eat("&&")) v = (Unary() && v) ? 1 : 0;
    return v;
  }
  long Unary() {
    if (Eat("!")) return Unary() ? 0 : 1;
    if (Eat("(")) {
      long v = Or();
      Eat(")");
      return v;
    }
    const std::string word = Word();
    if (word.empty()) {
      ++pos_;
      return 0;
    }
    if (word == "defined") {
      const bool paren = Eat("(");
      const std::string name = Word();
      if (paren) Eat(")");
      return defines_.count(name) ? 1 : 0;
    }
    if (std::isdigit(static_cast<unsigned char>(word[0]))) return std::strtol(word.c_str(), nullptr, 0);
    auto it = defines_.find(word);
    return it == defines_.end() ? 0 : std::strtol(it->second.c_str(), nullptr, 0);
  }

  std::string_view text_;
  const RcDefines& defines_;
  std::size_t pos_ = 0;
};

struct Conditional {
  bool active;       // this branch is being read
  bool taken;        // some branch of this #if has been taken
  bool outerActive;  // the enclosing text is being read
};

class Preprocessor {
 public:
  Preprocessor(const std::map<std::string, std::string, std::less<>>& includes, std::vector<RcToken>* tokens,
               RcDefines* defines)
      : includes_(includes), tokens_(tokens), defines_(defines) {}

  bool Run(std::string_view text, const std::string& fileName, int depth, std::string* error) {
    if (depth > 16) return Fail(fileName, 0, "#include nested too deeply", error);
    std::vector<Conditional> stack;
    bool inBlock = false;
    std::istringstream in{std::string(text)};
    std::string raw;
    int lineNo = 0;
    while (std::getline(in, raw)) {
      ++lineNo;
      while (!raw.empty() && raw.back() == '\\') {  // continued lines
        std::string next;
        if (!std::getline(in, next)) break;
        ++lineNo;
        raw.pop_back();
        raw += next;
      }
      const std::string line = Trim(StripComments(raw, &inBlock));
      const bool active = stack.empty() || stack.back().active;
      if (!line.empty() && line[0] == '#') {
        if (!Directive(line, fileName, lineNo, depth, &stack, error)) return false;
        continue;
      }
      if (active && !Tokenise(line, lineNo, fileName, error)) return false;
    }
    if (!stack.empty()) return Fail(fileName, lineNo, "#if without #endif", error);
    return true;
  }

 private:
  bool Fail(const std::string& file, int line, const std::string& what, std::string* error) {
    if (error) *error = file + ":" + std::to_string(line) + ": " + what;
    return false;
  }

  bool Directive(const std::string& line, const std::string& file, int lineNo, int depth,
                 std::vector<Conditional>* stack, std::string* error) {
    std::string rest = Trim(std::string_view(line).substr(1));
    std::size_t nameEnd = 0;
    while (nameEnd < rest.size() && std::isalpha(static_cast<unsigned char>(rest[nameEnd]))) ++nameEnd;
    const std::string name = rest.substr(0, nameEnd);
    const std::string arg = Trim(std::string_view(rest).substr(nameEnd));
    const bool active = stack->empty() || stack->back().active;
    if (name == "if" || name == "ifdef" || name == "ifndef") {
      bool value = false;
      if (active) {
        if (name == "if")
          value = ConditionEvaluator(arg, *defines_).Evaluate() != 0;
        else
          value = (defines_->count(Trim(arg)) != 0) == (name == "ifdef");
      }
      stack->push_back({active && value, value, active});
    } else if (name == "elif") {
      if (stack->empty()) return Fail(file, lineNo, "#elif without #if", error);
      Conditional& c = stack->back();
      const bool value = c.outerActive && !c.taken && ConditionEvaluator(arg, *defines_).Evaluate() != 0;
      c.active = value;
      c.taken = c.taken || value;
    } else if (name == "else") {
      if (stack->empty()) return Fail(file, lineNo, "#else without #if", error);
      Conditional& c = stack->back();
      c.active = c.outerActive && !c.taken;
      c.taken = true;
    } else if (name == "endif") {
      if (stack->empty()) return Fail(file, lineNo, "#endif without #if", error);
      stack->pop_back();
    } else if (!active) {
      return true;
    } else if (name == "define") {
      std::size_t e = 0;
      while (e < arg.size() && (std::isalnum(static_cast<unsigned char>(arg[e])) || arg[e] == '_')) ++e;
      if (e == 0) return Fail(file, lineNo, "#define without a name", error);
      (*defines_)[arg.substr(0, e)] = Trim(std::string_view(arg).substr(e));
    } else if (name == "undef") {
      defines_->erase(Trim(arg));
    } else if (name == "include") {
      const std::string target = Trim(arg);
      if (target.size() < 2) return Fail(file, lineNo, "#include without a file", error);
      const std::string included = target.substr(1, target.size() - 2);
      auto it = includes_.find(included);
      if (it != includes_.end()) return Run(it->second, included, depth + 1, error);
      if (target[0] == '"' && included.find(".h") == std::string::npos) {
        return Fail(file, lineNo, "cannot include \"" + included + "\"", error);
      }
    }
    // #pragma and anything else change nothing here.
    return true;
  }

  bool Tokenise(const std::string& line, int lineNo, const std::string& file, std::string* error) {
    std::size_t i = 0;
    while (i < line.size()) {
      const char c = line[i];
      if (std::isspace(static_cast<unsigned char>(c))) {
        ++i;
      } else if (c == '"') {
        std::string text;
        ++i;
        for (;;) {
          if (i >= line.size()) return Fail(file, lineNo, "unterminated string", error);
          if (line[i] == '"') {
            if (i + 1 < line.size() && line[i + 1] == '"') {  // "" stands for one quote
              text += '"';
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          if (line[i] == '\\' && i + 1 < line.size()) {
            const char e = line[i + 1];
            text += e == 'n' ? '\n' : e == 't' ? '\t' : e == 'a' ? '\b' : e;
            i += 2;
            continue;
          }
          text += line[i++];
        }
        tokens_->push_back({RcToken::String, text, 0, lineNo});
      } else if (std::isdigit(static_cast<unsigned char>(c))) {
        char* end = nullptr;
        const long v = std::strtol(line.c_str() + i, &end, 0);
        std::size_t e = static_cast<std::size_t>(end - line.c_str());
        while (e < line.size() && (line[e] == 'L' || line[e] == 'l' || line[e] == 'U' || line[e] == 'u')) ++e;
        tokens_->push_back({RcToken::Number, line.substr(i, e - i), v, lineNo});
        i = e;
      } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
        std::size_t e = i;
        while (e < line.size() &&
               (std::isalnum(static_cast<unsigned char>(line[e])) || line[e] == '_' || line[e] == '.'))
          ++e;
        std::string word = line.substr(i, e - i);
        i = e;
        // A macro for a number stands for it; anything else stays a word for the parser.
        auto it = defines_->find(word);
        int guard = 0;
        while (it != defines_->end() && guard++ < 8 && !it->second.empty() &&
               (std::isalpha(static_cast<unsigned char>(it->second[0])) || it->second[0] == '_')) {
          auto next = defines_->find(it->second);
          if (next == defines_->end()) break;
          it = next;
        }
        if (it != defines_->end() && !it->second.empty()) {
          std::string value = it->second;
          if (value.front() == '(' && value.back() == ')')
            value = Trim(std::string_view(value).substr(1, value.size() - 2));
          char* end = nullptr;
          const long v = std::strtol(value.c_str(), &end, 0);
          if (end && end != value.c_str() && (*end == '\0' || *end == 'L' || *end == 'U')) {
            tokens_->push_back({RcToken::Number, word, v, lineNo});
            continue;
          }
        }
        tokens_->push_back({RcToken::Identifier, word, 0, lineNo});
      } else {
        tokens_->push_back({RcToken::Punct, std::string(1, c), 0, lineNo});
        ++i;
      }
    }
    return true;
  }

  const std::map<std::string, std::string, std::less<>>& includes_;
  std::vector<RcToken>* tokens_;
  RcDefines* defines_;
};

}  // namespace

bool PreprocessResourceScript(std::string_view script, const std::map<std::string, std::string, std::less<>>& includes,
                              std::vector<RcToken>* tokens, RcDefines* defines, std::string* error) {
  // What windows.h and afxres.h would bring, for scripts that include them.
  static const std::pair<const char*, const char*> kPredefined[] = {
      {"RC_INVOKED", "1"},      {"IDOK", "1"},
      {"IDCANCEL", "2"},        {"IDABORT", "3"},
      {"IDRETRY", "4"},         {"IDIGNORE", "5"},
      {"IDYES", "6"},           {"IDNO", "7"},
      {"IDCLOSE", "8"},         {"IDHELP", "9"},
      {"IDC_STATIC", "-1"},     {"LANG_NEUTRAL", "0"},
      {"LANG_ENGLISH", "9"},    {"SUBLANG_NEUTRAL", "0"},
      {"SUBLANG_DEFAULT", "1"}, {"SUBLANG_ENGLISH_US", "1"}};
  for (const auto& [name, value] : kPredefined) (*defines)[name] = value;
  return Preprocessor(includes, tokens, defines).Run(script, "script", 0, error);
}

}  // namespace winui::core
