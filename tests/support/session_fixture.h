#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "base/text1251.h"
#include "session/session.h"
#include "support/scratch_dir.h"

namespace lorvi::test {

// A session as the window starts it, with its own folder for files and the messages it showed
// (UTF-8). Load() is the load button with the given files chosen in the dialog.
class SessionTest : public ::testing::Test {
 protected:
  SessionTest() : session(',') {
    session.SetMessageSink(
        [this](const std::string& text) { messages.push_back(Cp1251ToUtf8(text)); });
    session.FormCreate();
    session.FormShow();
  }

  void Load(const std::vector<std::string>& paths) {
    session.sbLoadFilesClick([&](const std::string& initialDir) {
      dialogFolders.push_back(initialDir);
      return std::optional(paths);
    });
  }

  std::string Write(const std::string& name, const std::string& utf8) {
    return dir.WriteXml(name, utf8);
  }

  ScratchDir dir;
  Session session;
  std::vector<std::string> messages;
  std::vector<std::string> dialogFolders;  // the dialog's initial folder at each opening
};

}  // namespace lorvi::test
