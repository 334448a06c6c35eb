// The translations beside English: each defines exactly the keys English
// defines, in the bytes the program reads (Windows-1252, CR LF), and loads
// over English through the program's own language search.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "lang/language_file.h"
#include "lang/multilang.h"
#include "shell/data_folders.h"
#include "tests/shell/program_in_temp_folder.h"

namespace {

const std::vector<std::string> Translations = {"German", "French", "Spanish"};

std::filesystem::path LanguageFile(const std::string& language) {
  const char* source = std::getenv("TONEMARK_SOURCE_DIR");
  return std::filesystem::path(source != nullptr ? source : ".") / "resources" /
         "Tonemark.languages" / (language + ".lang");
}

// The entries in file order, repeated keys included.
std::vector<std::pair<std::string, std::string>> Entries(const std::string& language) {
  std::ifstream in(LanguageFile(language), std::ios::binary);
  std::vector<std::pair<std::string, std::string>> entries;
  ReadLanguageEntries(in, [&entries](const std::string& key, const std::string& text) {
    entries.emplace_back(key, text);
  });
  return entries;
}

std::map<std::string, std::string> Texts(const std::string& language) {
  const auto entries = Entries(language);
  return {entries.begin(), entries.end()};
}

bool IsHelpText(const std::string& key) { return key[0] == 'T' && key.rfind("Tab", 0) != 0; }

size_t Paragraphs(const std::string& text) {
  size_t count = 1;
  for (size_t at = text.find("\r\n\r\n"); at != std::string::npos; at = text.find("\r\n\r\n", at + 4))
    ++count;
  return count;
}

class Translation : public testing::TestWithParam<std::string> {};

// "%d" and "%s" in a text, in order: the program puts a display's number and
// name there.
std::string Placeholders(const std::string& text) {
  std::string found;
  for (size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at + 1))
    found += text.substr(at, 2);
  return found;
}

TEST_P(Translation, DefinesExactlyTheKeysOfEnglishOnceEachWithItsPlaceholders) {
  const auto english = Texts("English");
  std::set<std::string> keys, englishKeys;
  for (const auto& [key, text] : Entries(GetParam())) {
    EXPECT_TRUE(keys.insert(key).second) << key << " twice";
    EXPECT_FALSE(text.empty()) << key;
    if (english.count(key)) EXPECT_EQ(Placeholders(text), Placeholders(english.at(key))) << key;
  }
  for (const auto& [key, text] : english) englishKeys.insert(key);
  EXPECT_EQ(keys, englishKeys);
}

TEST_P(Translation, TranslatesEveryHelpTextWithEnglishParagraphs) {
  const auto english = Texts("English");
  for (const auto& [key, text] : Texts(GetParam())) {
    if (!IsHelpText(key)) continue;
    EXPECT_NE(text, english.at(key)) << key << " is not translated";
    EXPECT_EQ(Paragraphs(text), Paragraphs(english.at(key))) << key;
    EXPECT_EQ(text.find('\\'), std::string::npos) << key;
    // The welcome label is twice the size of the pages' help label.
    EXPECT_LT(text.size(), key == "TWelcome" ? 2000u : 1200u) << key << " would overflow its label";
  }
}

// Messages and the reasons that fill them ("M" keys) are all translated, not
// left in English inside a translated sentence.
TEST_P(Translation, TranslatesEveryMessage) {
  const auto english = Texts("English");
  for (const auto& [key, text] : Texts(GetParam()))
    if (key[0] == 'M') EXPECT_NE(text, english.at(key)) << key << " is not translated";
}

TEST_P(Translation, IsWindows1252WithCrLfLineEnds) {
  const std::string bytes = ReadBytes(LanguageFile(GetParam()).string());
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    const auto next = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
    ASSERT_TRUE(byte != '\n' || (i > 0 && bytes[i - 1] == '\r')) << "bare LF at byte " << i;
    ASSERT_TRUE(byte != '\r' || next == '\n') << "bare CR at byte " << i;
    ASSERT_TRUE(byte >= 0x20 || byte == '\r' || byte == '\n') << "control byte at " << i;
    // Bytes that Windows-1252 leaves undefined.
    ASSERT_TRUE(byte != 0x81 && byte != 0x8D && byte != 0x8F && byte != 0x90 && byte != 0x9D)
        << "byte " << i;
    // UTF-8 writes every accented Latin letter as 0xC3 and a byte from 0x80 up
    // ("Ã©" read as Windows-1252): the file was saved in the wrong code page.
    ASSERT_FALSE(byte == 0xC3 && next >= 0x80) << "UTF-8 at byte " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Languages, Translation, testing::ValuesIn(Translations));

TEST(Translations, LoadOverEnglishFromTheLanguagesFolderBesideTheProgram) {
  const ProgramInTempFolder program;
  const auto folder = program.folder.Path() / "Tonemark.languages";
  std::filesystem::create_directory(folder);
  std::vector<std::string> all = Translations;
  all.push_back("English");
  for (const std::string& language : all)
    std::filesystem::copy_file(LanguageFile(language), folder / (language + ".lang"));

  BuildLanguageList(LanguagesFolderName, ProductSubFolder, ProductSubFolder);
  std::vector<std::string> listed = LanguageList;
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, (std::vector<std::string>{"English", "French", "German", "Spanish"}));

  const size_t englishKeys = Texts("English").size();
  for (const std::string& language : Translations) {
    TextTable.clear();
    LoadLanguage("English", LanguagesFolderName, ProductSubFolder, ProductSubFolder);
    LoadLanguage(language, LanguagesFolderName, ProductSubFolder, ProductSubFolder);
    EXPECT_EQ(TextTable.size(), englishKeys) << language;
    for (const auto& [key, text] : Texts(language)) EXPECT_EQ(Translate(key), text) << key;
  }
  EXPECT_EQ(Translate("TabWhitePoint"), "Punto blanco");
  EXPECT_EQ(Translate("LDisplay"), "Pantalla:");
  TextTable.clear();
  LanguageList.clear();
}

}  // namespace
