// Shared set-up of the tool-window tests: every model the editor, memo and box touch back at its start,
// the windows closed after each test, and pictures of the windows saved when KAZORU_SHOT_DIR names a folder.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QString>
#include <QWidget>
#include <cstdlib>
#include <string>

#include "engine/BunMath.h"
#include "engine/Houtei1ji.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "notebook/NotePage.h"
#include "screen/sikiInp.h"
#include "support/TestSupport.h"
#include "tools/BunSikiEdit.h"
#include "tools/kihonSet.h"
#include "tools/sikiEMemo.h"
#include "tools/xyDainyuu.h"
#include "ui/tools/BunSikiEdit.h"
#include "ui/tools/sikiEMemo.h"
#include "ui/tools/xyDainyuu.h"

inline QString U8(const char* s) { return QString::fromUtf8(s); }

class ToolWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    KAKERU_ABR = 1;
    ScreenView = ScreenHooks{};
    EditorNotebook = EditorNotebookHooks{};
  }
  void TearDown() override {
    // Closing without questions: the recording platform answers OK.
    TestPlatform().answers.clear();
    if (TSikiEditForm* e = TSikiEditForm::Instance()) e->close();
    if (TSEMemoForm* m = TSEMemoForm::Instance()) m->close();
    if (TDainyuuForm* d = TDainyuuForm::Instance()) d->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EditorNotebook = EditorNotebookHooks{};
  }
  static void Flush() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  // Saves a picture of the window when the environment names a folder for them.
  static void Shot(QWidget* w, const char* name) {
    const char* dir = std::getenv("KAZORU_SHOT_DIR");
    if (!dir || !*dir) return;
    w->grab().save(QString::fromLocal8Bit(dir) + "/" + name + ".png");
  }
};
