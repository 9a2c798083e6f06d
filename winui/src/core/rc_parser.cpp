// Resource script statements: DIALOG/DIALOGEX templates with their controls, and ICON resources.
#include "rc_style_names.h"
#include "rc_tokens.h"
#include "resource_store.h"

#include <winui/controls.h>
#include <winui/winuser.h>

#include <algorithm>
#include <cctype>

namespace winui::core {
namespace {

struct ControlKind {
  const char* keyword;
  const char* className;
  DWORD defaultStyle;
  bool hasText;  // the statement starts with a caption
};

// The statement forms of the standard controls and the styles rc gives them before any the
// script adds or takes away with NOT.
const ControlKind kControlKinds[] = {
    {"LTEXT", WC_STATIC, SS_LEFT | WS_GROUP, true},
    {"RTEXT", WC_STATIC, SS_RIGHT | WS_GROUP, true},
    {"CTEXT", WC_STATIC, SS_CENTER | WS_GROUP, true},
    {"ICON", WC_STATIC, SS_ICON, true},
    {"PUSHBUTTON", WC_BUTTON, BS_PUSHBUTTON | WS_TABSTOP, true},
    {"DEFPUSHBUTTON", WC_BUTTON, BS_DEFPUSHBUTTON | WS_TABSTOP, true},
    {"GROUPBOX", WC_BUTTON, BS_GROUPBOX, true},
    {"CHECKBOX", WC_BUTTON, BS_CHECKBOX | WS_TABSTOP, true},
    {"AUTOCHECKBOX", WC_BUTTON, BS_AUTOCHECKBOX | WS_TABSTOP, true},
    {"RADIOBUTTON", WC_BUTTON, 0x0004 | WS_TABSTOP, true},
    {"AUTORADIOBUTTON", WC_BUTTON, 0x0009 | WS_TABSTOP, true},
    {"EDITTEXT", WC_EDIT, ES_LEFT | WS_BORDER | WS_TABSTOP, false},
    {"COMBOBOX", WC_COMBOBOX, CBS_SIMPLE | WS_TABSTOP, false},
    {"LISTBOX", "ListBox", 0x0001 | WS_BORDER, false},
};

class Parser {
 public:
  Parser(const std::vector<RcToken>& tokens, ResourceFileSet* out) : t_(tokens), out_(out) {}

  bool Run(std::string* error) {
    while (pos_ < t_.size()) {
      if (!TopLevel()) {
        if (error) *error = "script:" + std::to_string(Line()) + ": " + error_;
        return false;
      }
    }
    return true;
  }

 private:
  // The line of the last token read: a statement that ends too early is at fault, not the next one.
  int Line() const {
    if (t_.empty()) return 0;
    return pos_ > 0 ? t_[std::min(pos_, t_.size()) - 1].line : t_[0].line;
  }
  bool AtEnd() const { return pos_ >= t_.size(); }
  const RcToken& Peek() const { return t_[pos_]; }
  bool PeekWord(std::string_view w) const {
    return !AtEnd() && Peek().kind == RcToken::Identifier && EqualsUpper(Peek().text, w);
  }
  bool PeekPunct(char c) const { return !AtEnd() && Peek().kind == RcToken::Punct && Peek().text[0] == c; }
  static bool EqualsUpper(const std::string& a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
             return std::toupper(static_cast<unsigned char>(x)) == y;
           });
  }
  bool Fail(std::string what) {
    error_ = std::move(what);
    return false;
  }
  bool Comma() {
    if (PeekPunct(',')) {
      ++pos_;
      return true;
    }
    return false;
  }
  bool IsBegin() const { return PeekWord("BEGIN") || PeekPunct('{'); }
  bool IsEnd() const { return PeekWord("END") || PeekPunct('}'); }
  // The next token starts a new line, which ends a statement whose optional tail is absent.
  bool AtLineStart() const { return AtEnd() || (pos_ > 0 && t_[pos_].line != t_[pos_ - 1].line); }

  // number | name | (expr) | NOT term | ~term, joined by | + -.
  bool Term(long* value, bool* negated) {
    *negated = false;
    if (PeekWord("NOT")) {
      ++pos_;
      *negated = true;
    }
    if (AtEnd()) return Fail("expression expected");
    if (PeekPunct('~')) {
      ++pos_;
      bool inner;
      if (!Term(value, &inner)) return false;
      *value = ~*value;
      return true;
    }
    if (PeekPunct('-')) {
      ++pos_;
      bool inner;
      if (!Term(value, &inner)) return false;
      *value = -*value;
      return true;
    }
    if (PeekPunct('(')) {
      ++pos_;
      if (!Expression(0, value)) return false;
      if (!PeekPunct(')')) return Fail("')' expected");
      ++pos_;
      return true;
    }
    const RcToken& tok = Peek();
    if (tok.kind == RcToken::Number) {
      *value = tok.value;
      ++pos_;
      return true;
    }
    if (tok.kind == RcToken::Identifier) {
      DWORD style;
      if (!LookUpStyleName(tok.text, &style)) return Fail("unknown name " + tok.text);
      *value = static_cast<long>(style);
      ++pos_;
      return true;
    }
    return Fail("expression expected, found '" + tok.text + "'");
  }

  // Applies the expression to `start` the way rc does for styles: NOT clears bits from what is there.
  bool Expression(long start, long* value) {
    long acc = start;
    bool first = true;
    for (;;) {
      char op = '|';
      if (!first) {
        if (!PeekPunct('|') && !PeekPunct('+') && !PeekPunct('-') && !PeekPunct('&')) break;
        op = Peek().text[0];
        ++pos_;
      }
      long term;
      bool negated;
      if (!Term(&term, &negated)) return false;
      if (negated)
        acc &= ~term;
      else if (op == '|')
        acc = first && start == 0 ? term : acc | term;
      else if (op == '+')
        acc += term;
      else if (op == '-')
        acc -= term;
      else
        acc &= term;
      first = false;
    }
    *value = acc;
    return true;
  }
  bool Number(int* value) {
    long v;
    if (!Expression(0, &v)) return false;
    *value = static_cast<int>(v);
    return true;
  }

  // A resource's name: a number (or a macro for one), or a word that is the name itself.
  bool Name(ResourceKey* key) {
    if (AtEnd()) return Fail("resource name expected");
    const RcToken& tok = Peek();
    ++pos_;
    if (tok.kind == RcToken::Number) {
      *key = ResourceKey::FromId(static_cast<int>(tok.value));
      return true;
    }
    if (tok.kind == RcToken::Identifier || tok.kind == RcToken::String) {
      *key = ResourceKey::FromName(tok.text);
      return true;
    }
    return Fail("resource name expected, found '" + tok.text + "'");
  }

  bool TopLevel() {
    if (PeekWord("LANGUAGE")) {
      ++pos_;
      int a, b;
      return Number(&a) && Comma() && Number(&b);
    }
    if (PeekWord("STRINGTABLE")) {
      ++pos_;
      return SkipToBlockEnd();
    }
    ResourceKey key;
    if (!Name(&key)) return false;
    if (AtEnd()) return Fail("resource type expected");
    const std::string type = Peek().text;
    ++pos_;
    if (EqualsUpper(type, "DIALOG") || EqualsUpper(type, "DIALOGEX")) return Dialog(key, EqualsUpper(type, "DIALOGEX"));
    if (EqualsUpper(type, "ICON")) {
      if (AtEnd() || Peek().kind != RcToken::String) return Fail("ICON needs a file name");
      out_->icons.push_back({key, Peek().text});
      ++pos_;
      return true;
    }
    return SkipResource();
  }

  // Resources this layer does not use (bitmaps, menus, version info, designer data): skipped whole.
  bool SkipResource() {
    while (!AtEnd() && !IsBegin()) {
      if (Peek().kind == RcToken::String && AtLineStartAfter()) {
        ++pos_;
        return true;  // a resource that names a file
      }
      ++pos_;
    }
    return SkipToBlockEnd();
  }
  bool AtLineStartAfter() const { return pos_ + 1 >= t_.size() || t_[pos_ + 1].line != t_[pos_].line; }
  bool SkipToBlockEnd() {
    while (!AtEnd() && !IsBegin()) ++pos_;
    if (AtEnd()) return Fail("BEGIN expected");
    int depth = 0;
    do {
      if (IsBegin())
        ++depth;
      else if (IsEnd())
        --depth;
      ++pos_;
    } while (!AtEnd() && depth > 0);
    return depth == 0 || Fail("END expected");
  }

  bool Dialog(const ResourceKey& key, bool extended) {
    DialogTemplate d;
    d.style = WS_POPUP | WS_BORDER | WS_SYSMENU;
    if (!Number(&d.x) || !Comma() || !Number(&d.y) || !Comma() || !Number(&d.cx) || !Comma() || !Number(&d.cy)) {
      return error_.empty() ? Fail("dialog needs x, y, width, height") : false;
    }
    if (extended && Comma()) {
      int helpId;
      if (!Number(&helpId)) return false;
    }
    bool captionGiven = false;
    while (!AtEnd() && !IsBegin()) {
      const std::string word = Peek().text;
      ++pos_;
      long v;
      if (EqualsUpper(word, "STYLE")) {
        if (!Expression(0, &v)) return false;
        d.style = static_cast<DWORD>(v);
      } else if (EqualsUpper(word, "EXSTYLE")) {
        if (!Expression(0, &v)) return false;
        d.exStyle = static_cast<DWORD>(v);
      } else if (EqualsUpper(word, "CAPTION")) {
        if (AtEnd() || Peek().kind != RcToken::String) return Fail("CAPTION needs a string");
        d.caption = Peek().text;
        ++pos_;
        captionGiven = true;
      } else if (EqualsUpper(word, "FONT")) {
        if (!Number(&d.fontPointSize) || !Comma() || AtEnd() || Peek().kind != RcToken::String) {
          return Fail("FONT needs a size and a face name");
        }
        d.fontFace = Peek().text;
        ++pos_;
        if (Comma()) {
          if (!Number(&d.fontWeight)) return false;
          int italic = 0, charset = 0;
          if (Comma() && !Number(&italic)) return false;
          if (Comma() && !Number(&charset)) return false;
          d.fontItalic = italic != 0;
        }
      } else if (EqualsUpper(word, "LANGUAGE")) {
        int a, b;
        if (!Number(&a) || !Comma() || !Number(&b)) return false;
      } else if (EqualsUpper(word, "MENU") || EqualsUpper(word, "CLASS") || EqualsUpper(word, "CHARACTERISTICS") ||
                 EqualsUpper(word, "VERSION")) {
        ++pos_;
      } else {
        return Fail("unknown dialog statement " + word);
      }
    }
    if (captionGiven) d.style |= WS_CAPTION;
    if (!d.fontFace.empty()) d.style |= DS_SETFONT;
    if (AtEnd()) return Fail("BEGIN expected");
    ++pos_;
    while (!AtEnd() && !IsEnd()) {
      DialogItemTemplate item;
      if (!Control(&item)) return false;
      d.items.push_back(std::move(item));
    }
    if (AtEnd()) return Fail("END expected");
    ++pos_;
    out_->dialogs.push_back({key, std::move(d)});
    return true;
  }

  bool ItemText(DialogItemTemplate* item) {
    if (AtEnd()) return Fail("control text expected");
    const RcToken& tok = Peek();
    if (tok.kind == RcToken::String)
      item->text = tok.text;
    else if (tok.kind == RcToken::Number)
      item->text = "#" + std::to_string(tok.value);  // an icon's ID
    else if (tok.kind == RcToken::Identifier)
      item->text = tok.text;
    else
      return Fail("control text expected");
    ++pos_;
    return true;
  }

  bool Geometry(DialogItemTemplate* item, bool sizeOptional) {
    if (!Number(&item->x) || !Comma() || !Number(&item->y)) return error_.empty() ? Fail("position expected") : false;
    if (sizeOptional && !PeekPunct(',')) return true;
    if (!Comma() || !Number(&item->cx) || !Comma() || !Number(&item->cy)) {
      return error_.empty() ? Fail("width and height expected") : false;
    }
    return true;
  }

  bool OptionalStyles(DialogItemTemplate* item, long defaultStyle) {
    defaultStyle |= WS_CHILD | WS_VISIBLE;
    long style = defaultStyle;
    if (Comma()) {
      if (!Expression(defaultStyle, &style)) return false;
      if (Comma()) {
        long ex;
        if (!Expression(0, &ex)) return false;
        item->exStyle = static_cast<DWORD>(ex);
        if (Comma()) {
          int helpId;
          if (!Number(&helpId)) return false;
        }
      }
    }
    item->style = static_cast<DWORD>(style) | WS_CHILD;
    return true;
  }

  bool Control(DialogItemTemplate* item) {
    if (Peek().kind != RcToken::Identifier) return Fail("control statement expected, found '" + Peek().text + "'");
    const std::string keyword = Peek().text;
    ++pos_;
    if (EqualsUpper(keyword, "CONTROL")) {
      if (!ItemText(item) || !Comma() || !Number(&item->id) || !Comma())
        return error_.empty() ? Fail("CONTROL syntax") : false;
      if (AtEnd()) return Fail("class expected");
      item->className = Peek().text;  // class names compare without case
      ++pos_;
      long style;
      if (!Comma() || !Expression(WS_CHILD | WS_VISIBLE, &style) || !Comma()) {
        return error_.empty() ? Fail("CONTROL style expected") : false;
      }
      if (!Geometry(item, false)) return false;
      item->style = static_cast<DWORD>(style) | WS_CHILD;
      if (Comma()) {
        long ex;
        if (!Expression(0, &ex)) return false;
        item->exStyle = static_cast<DWORD>(ex);
      }
      return true;
    }
    for (const ControlKind& kind : kControlKinds) {
      if (!EqualsUpper(keyword, kind.keyword)) continue;
      item->className = kind.className;
      if (kind.hasText && (!ItemText(item) || !Comma())) return error_.empty() ? Fail("text expected") : false;
      if (!Number(&item->id) || !Comma()) return error_.empty() ? Fail("control ID expected") : false;
      if (!Geometry(item, std::string_view(kind.keyword) == "ICON")) return false;
      return OptionalStyles(item, static_cast<long>(kind.defaultStyle));
    }
    return Fail("unknown control statement " + keyword);
  }

  const std::vector<RcToken>& t_;
  ResourceFileSet* out_;
  std::size_t pos_ = 0;
  std::string error_;
};

}  // namespace

bool ParseResourceScript(std::string_view script, const std::map<std::string, std::string, std::less<>>& includes,
                         ResourceFileSet* out, std::string* error) {
  std::vector<RcToken> tokens;
  RcDefines defines;
  if (!PreprocessResourceScript(script, includes, &tokens, &defines, error)) return false;
  return Parser(tokens, out).Run(error);
}

}  // namespace winui::core
