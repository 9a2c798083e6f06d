// The INI store: Windows profile-file reading rules, typed values, clear errors and atomic saving.
#include <xelfw/IniStore.h>
#include <xelhost/IniFile.h>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>

using xelfw::IniError;
using xelfw::IniStore;

namespace {

class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "xelfw_ini_XXXXXX").string();
    m_Path = ::mkdtemp(pattern.data());
  }
  ~TempDir() { std::filesystem::remove_all(m_Path); }
  const std::filesystem::path& Path() const { return m_Path; }
  std::size_t Entries() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(m_Path), {}));
  }

 private:
  std::filesystem::path m_Path;
};

}  // namespace

TEST(IniStoreTest, ReadsLikeAWindowsProfileFile) {
  const IniStore ini = IniStore::Parse(
      "; settings\n"
      "[Pseudo]\r\n"
      "  Lower = 0.25  \n"
      "# another comment\n"
      "\n"
      "UnitDesc=\" deg \"\n"
      "lower=0.75\n"
      "[Other]\n"
      "Key=a=b; not a comment\n"
      "[PSEUDO]\n"
      "Upper=\n");
  EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"Pseudo", "Other"}));
  EXPECT_EQ(ini.GetString("pseudo", "LOWER"), "0.25") << "first of two keys wins, names ignore case";
  EXPECT_EQ(ini.GetString("Pseudo", "UnitDesc"), " deg ");
  EXPECT_EQ(ini.GetString("Other", "Key"), "a=b; not a comment");
  EXPECT_EQ(ini.GetString("Pseudo", "Upper"), "") << "a repeated section is the same section";
  EXPECT_FALSE(ini.GetString("Pseudo", "Missing"));
  EXPECT_FALSE(ini.GetString("Missing", "Lower"));
}

TEST(IniStoreTest, ALoneCarriageReturnEndsALineAsALineFeedDoes) {
  const IniStore ini = IniStore::Parse("[S]\rUnit=deg\rC=1\r\n[T]\r\nKey=2");
  EXPECT_EQ(ini.GetString("S", "Unit"), "deg");
  EXPECT_EQ(ini.GetString("S", "C"), "1");
  EXPECT_EQ(ini.GetString("T", "Key"), "2");
  // Whatever was read can be written again: no value holds a line break.
  IniStore copy;
  for (const std::string& section : ini.Sections())
    for (const std::string& key : ini.Keys(section))
      EXPECT_NO_THROW(copy.SetString(section, key, *ini.GetString(section, key)));
  try {
    IniStore::Parse("[S]\r\n\r\n=1\n", "crlf.ini");
    ADD_FAILURE() << "an empty key is an error";
  } catch (const IniError& e) {
    EXPECT_STREQ(e.what(), "crlf.ini:3: empty key") << "CR LF is one line break";
  }
}

TEST(IniStoreTest, TypedValuesNeedTheWholeText) {
  const IniStore ini =
      IniStore::Parse("[S]\nint=-42\nhex=0x1F\nbig=4294967295\nmixed=12abc\nreal=2.5e-3\nword=abc\nempty=\n");
  EXPECT_EQ(ini.GetInt("S", "int"), -42);
  EXPECT_EQ(ini.GetInt("S", "hex"), 31);
  EXPECT_EQ(ini.GetInt("S", "big"), 4294967295LL);
  EXPECT_FALSE(ini.GetInt("S", "mixed"));
  EXPECT_FALSE(ini.GetInt("S", "empty"));
  EXPECT_DOUBLE_EQ(*ini.GetDouble("S", "real"), 2.5e-3);
  EXPECT_DOUBLE_EQ(*ini.GetDouble("S", "int"), -42.0);
  EXPECT_FALSE(ini.GetDouble("S", "word"));
}

TEST(IniStoreTest, MalformedTextNamesTheLine) {
  const auto errorOf = [](const char* text) -> std::string {
    try {
      IniStore::Parse(text, "bad.ini");
    } catch (const IniError& e) {
      return e.what();
    }
    return "no error";
  };
  EXPECT_EQ(errorOf("[S]\nkey value\n"), "bad.ini:2: expected 'key=value', '[section]' or a comment");
  EXPECT_EQ(errorOf("key=1\n"), "bad.ini:1: key 'key' before the first section");
  EXPECT_EQ(errorOf("[S\n"), "bad.ini:1: section header without ']'");
  EXPECT_EQ(errorOf("[S]\n\n=1\n"), "bad.ini:3: empty key");
  EXPECT_EQ(errorOf("[ ]\n"), "bad.ini:1: empty section name");
}

TEST(IniStoreTest, TheStrictSyntaxRefusesWhatWindowsWouldSilentlyDropByLine) {
  const auto strictError = [](const std::string& text) -> std::string {
    try {
      IniStore::Parse(text, "user.ini", xelfw::IniSyntax::Strict);
    } catch (const IniError& e) {
      return e.what();
    }
    return "no error";
  };
  EXPECT_EQ(strictError("[S]\nLower=0.1\n\nlower=0.2\n"), "user.ini:4: lower given twice (first on line 2)");
  EXPECT_EQ(strictError("[S]\na=1\n[T]\nb=2\n[s]\nc=3\n"), "user.ini:5: section [s] given twice (first on line 1)");
  EXPECT_EQ(strictError("[S]\nkey value\n"), "user.ini:2: expected 'key=value', '[section]' or a comment")
      << "the rest of the syntax is the same";
  EXPECT_EQ(strictError("[S]\nKey=1\n[T]\nKey=2\n"), "no error") << "one key in two sections";
  // A lone CR ends a line in both syntaxes, so it cannot hide a second key on the same visual line.
  EXPECT_EQ(strictError("[S]\rk=1\rK=2\r"), "user.ini:3: K given twice (first on line 2)");

  const IniStore strict =
      IniStore::Parse("\xEF\xBB\xBF[S]\r\n; note\r\nk=1\r\n[T]\nj=2\n", "x", xelfw::IniSyntax::Strict);
  EXPECT_EQ(strict.LineOf("s", "K"), 3u) << "lines count from the file's start, byte-order mark or not";
  EXPECT_EQ(strict.LineOf("T", "j"), 5u);
  EXPECT_FALSE(strict.LineOf("T", "k"));
  IniStore set;
  set.SetInt("S", "k", 1);
  EXPECT_EQ(set.LineOf("S", "k"), 0u) << "a key that was set has no line";
}

TEST(IniStoreTest, WritesAndReadsBackEveryValue) {
  IniStore ini;
  ini.SetDouble("Pseudo", "Lower", 0.1);
  ini.SetDouble("Pseudo", "Tiny", 1e-300);
  ini.SetInt("Pseudo", "AutoMode", -7);
  ini.SetString("Pseudo", "UnitDesc",
                "\xB0"
                "C");
  ini.SetString("Pseudo", "Padded", "  x  ");
  ini.SetString("Pseudo", "Quoted", "\"q\"");
  ini.SetString("Other", "Empty", "");
  ini.SetString("pseudo", "LOWER", "0.5");  // replaces in place, keeps the first spelling
  const IniStore back = IniStore::Parse(ini.ToText());
  EXPECT_EQ(back.Keys("Pseudo"),
            (std::vector<std::string>{"Lower", "Tiny", "AutoMode", "UnitDesc", "Padded", "Quoted"}));
  EXPECT_EQ(back.GetDouble("Pseudo", "Lower"), 0.5);
  EXPECT_EQ(back.GetDouble("Pseudo", "Tiny"), 1e-300);
  EXPECT_EQ(back.GetInt("Pseudo", "AutoMode"), -7);
  EXPECT_EQ(back.GetString("Pseudo", "UnitDesc"),
            "\xB0"
            "C");
  EXPECT_EQ(back.GetString("Pseudo", "Padded"), "  x  ");
  EXPECT_EQ(back.GetString("Pseudo", "Quoted"), "\"q\"");
  EXPECT_EQ(back.GetString("Other", "Empty"), "");
  EXPECT_THROW(ini.SetString("S", "key", "two\nlines"), IniError);
  EXPECT_THROW(ini.SetString("S", "a=b", "1"), IniError);
}

TEST(IniStoreTest, SavesAtomicallyAndLoadsTheSame) {
  TempDir dir;
  const std::filesystem::path file = dir.Path() / "settings.ini";
  IniStore ini;
  ini.SetDouble("S", "Upper", 0.875);
  xelhost::SaveIniFile(ini, file);
  ini.SetDouble("S", "Upper", 0.5);
  xelhost::SaveIniFile(ini, file);
  EXPECT_EQ(dir.Entries(), 1u) << "no temporary file stays behind";
  EXPECT_EQ(IniStore::Load(file).GetDouble("S", "Upper"), 0.5);

  EXPECT_THROW(xelhost::SaveIniFile(ini, dir.Path() / "missing" / "x.ini"), IniError);
  EXPECT_THROW(IniStore::Load(dir.Path() / "absent.ini"), IniError);
  std::ofstream(dir.Path() / "broken.ini") << "[S]\nnot a line\n";
  try {
    IniStore::Load(dir.Path() / "broken.ini");
    FAIL() << "a malformed file loads";
  } catch (const IniError& e) {
    EXPECT_NE(std::string(e.what()).find("broken.ini:2:"), std::string::npos) << e.what();
  }
}

TEST(IniStoreTest, ManyKeysKeepWindowsRulesForCaseDuplicatesAndOrder) {
  // A hang guard rather than a timing: look-ups used to walk every key before, so such a file took
  // minutes.
  constexpr int kKeys = 200000;
  std::string text = "[Big]\n";
  for (int i = 0; i < kKeys; ++i) text += "Key" + std::to_string(i) + "=" + std::to_string(i) + "\n";
  text += "KEY7=duplicate\n[big]\nkey8=later section\n[Other]\nkey0=other\n";
  IniStore ini = IniStore::Parse(text);
  EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"Big", "Other"}));
  ASSERT_EQ(ini.Keys("BIG").size(), static_cast<std::size_t>(kKeys));
  for (int i = 0; i < kKeys; i += 997) EXPECT_EQ(ini.GetInt("big", "kEy" + std::to_string(i)), i);
  EXPECT_EQ(ini.GetString("Big", "key7"), "7");
  EXPECT_EQ(ini.GetString("Big", "Key8"), "8");
  EXPECT_EQ(ini.GetString("Other", "Key0"), "other");

  // Removing keys keeps every other key where it was and findable.
  EXPECT_TRUE(ini.RemoveKey("Big", "KEY0"));
  EXPECT_FALSE(ini.RemoveKey("Big", "Key0"));
  EXPECT_TRUE(ini.RemoveKey("Big", "Key100"));
  EXPECT_EQ(ini.Keys("Big").front(), "Key1");
  EXPECT_EQ(ini.GetInt("Big", "Key101"), 101);
  EXPECT_EQ(ini.GetInt("Big", "Key199999"), 199999);
  ini.SetString("Big", "key100", "back");
  EXPECT_EQ(ini.Keys("Big").back(), "key100");
  EXPECT_EQ(ini.GetString("BIG", "KEY100"), "back");
}

TEST(IniStoreTest, LoadsRegularFilesOnlyAndSavesWithTheUmask) {
  TempDir dir;
  const std::filesystem::path fifo = dir.Path() / "fifo.ini";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::filesystem::path& path : {fifo, dir.Path(), std::filesystem::path("/dev/zero")}) {
    for (const auto syntax : {xelfw::IniSyntax::Windows, xelfw::IniSyntax::Strict}) {
      try {
        IniStore::Load(path, syntax);
        FAIL() << path << " loads";
      } catch (const IniError& e) {
        EXPECT_NE(std::string(e.what()).find(path.string()), std::string::npos) << e.what();
      }
    }
    EXPECT_THROW(IniStore::ReadFile(path), IniError) << path;
  }
  IniStore ini;
  ini.SetInt("S", "k", 1);
  const mode_t previous = ::umask(077);
  xelhost::SaveIniFile(ini, dir.Path() / "private.ini");
  ::umask(previous);
  struct stat info {};
  ASSERT_EQ(::stat((dir.Path() / "private.ini").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}
