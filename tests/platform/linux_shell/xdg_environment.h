// Points HOME and the XDG base folders into a fresh temporary folder for the
// life of the object, and puts back what was there.
#pragma once

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

#include "tests/temp_folder.h"

class XdgEnvironment {
 public:
  XdgEnvironment() {
    Set("HOME", Home());
    Set("XDG_CONFIG_HOME", ConfigHome());
    Set("XDG_DATA_HOME", DataHome());
  }
  ~XdgEnvironment() {
    for (const auto& [name, value] : saved_) {
      if (value) setenv(name.c_str(), value->c_str(), 1);
      else unsetenv(name.c_str());
    }
  }
  XdgEnvironment(const XdgEnvironment&) = delete;
  XdgEnvironment& operator=(const XdgEnvironment&) = delete;

  // Changes a variable until the object ends; nullopt removes it.
  void Set(const std::string& name, const std::optional<std::string>& value) {
    if (!saved_.count(name)) {
      const char* old = std::getenv(name.c_str());
      saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    if (value) setenv(name.c_str(), value->c_str(), 1);
    else unsetenv(name.c_str());
  }

  std::string Home() const { return temp.Folder() + "home"; }
  std::string ConfigHome() const { return temp.Folder() + "config"; }
  std::string DataHome() const { return temp.Folder() + "data"; }

  TempFolder temp;

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};
