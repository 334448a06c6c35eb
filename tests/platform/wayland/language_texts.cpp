#include "tests/platform/wayland/language_texts.h"

#include <gtest/gtest.h>

#include <fstream>

#include "lang/language_file.h"
#include "lang/multilang.h"

namespace {

void MergeFile(const std::string& language) {
  std::ifstream in(std::string(TONEMARK_SOURCE_PATH) + "/resources/Tonemark.languages/" + language + ".lang",
                   std::ios::binary);
  ASSERT_TRUE(in) << language;
  ReadLanguageEntries(in, [](const std::string& key, const std::string& text) { SetText(key, text); });
}

class EnglishTexts : public testing::Environment {
  void SetUp() override { UseLanguageTexts("English"); }
};
testing::Environment* const english = testing::AddGlobalTestEnvironment(new EnglishTexts);

}  // namespace

void UseLanguageTexts(const std::string& language) {
  TextTable.clear();
  MergeFile("English");
  if (language != "English") MergeFile(language);
}

void SetText(const std::string& key, const std::string& text) {
  for (auto& entry : TextTable)
    if (entry.first == key) {
      entry.second = text;
      return;
    }
  TextTable.emplace_back(key, text);
}
