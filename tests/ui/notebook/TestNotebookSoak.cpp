// A long run of the real notebook window: random menu commands and random keys (with every modifier),
// every question, input box and file dialog answered at random through the recording platform, files
// opened, saved and printed into a folder of its own (and into folders that do not exist). After every
// step the page must be sound: its line count, selection and undo copy in range, the scroll positions on
// their bars; a file the step wrote must hold the page as it was; a failed save must be told and leave
// the page changed under its old name; and the step must have returned quickly (within 100 ms, or a
// second when it wrote a file and waited for the disk). KAZORU_NOTEBOOK_SOAK_STEPS sets the number of steps (2,000 by
// default), KAZORU_SOAK_SEED the random seed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPrinter>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "notebook/NotePage.h"
#include "notebook/NoteSheet.h"
#include "platform/Platform.h"
#include "screen/sikiInpCommands.h"
#include "support/SoakSupport.h"
#include "support/TestSupport.h"
#include "ui/notebook/Notebook.h"

namespace {

// Lines a pupil's page holds: sums, mixed numbers, equations, inequalities, ratios, powers, brackets,
// some with answers, some that fail the check or cannot be computed.
const std::vector<std::string>& SampleLines() {
  static const std::vector<std::string> lines = {
      "1b2+3b1=",
      "2k3b1*4b3=",
      "2x+1=5",
      "3x-2<7",
      "4:6",
      "(1+2)*3=",
      "5b3^2=",
      "1/0=",
      "1+*2",
      "7=",
      "1b2+3b1=2k3b1&2k3b1",
      "2x+1=5&x=2",
      "12345678*98765=",
      "0.25+3b1=",
      "x:3=4:6",
      "1k2b1-3b2=",
      "9999999999*9999999999=",
      "2b1x+3=4b1",
  };
  return lines;
}

// The keys of the window: letters with Ctrl and Shift reach the menu commands, the rest move, scroll,
// undo and delete.
const std::vector<int>& NoteKeys() {
  static const std::vector<int> keys = [] {
    std::vector<int> k;
    for (int c = Qt::Key_A; c <= Qt::Key_Z; ++c) k.push_back(c);
    for (int c = Qt::Key_0; c <= Qt::Key_9; ++c) k.push_back(c);
    for (int c = Qt::Key_F1; c <= Qt::Key_F12; ++c) k.push_back(c);
    const int more[] = {Qt::Key_Up,        Qt::Key_Down,   Qt::Key_Left,   Qt::Key_Right,  Qt::Key_PageUp,
                        Qt::Key_PageDown,  Qt::Key_Home,   Qt::Key_End,    Qt::Key_Return, Qt::Key_Enter,
                        Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Insert, Qt::Key_Escape, Qt::Key_Tab,
                        Qt::Key_Space,     Qt::Key_Plus,   Qt::Key_Minus,  Qt::Key_Equal};
    k.insert(k.end(), std::begin(more), std::end(more));
    return k;
  }();
  return keys;
}

// The notebook's commands sit on Ctrl and Shift: those come most.
Qt::KeyboardModifiers RandomModifiers(std::mt19937& rng) {
  return ::RandomModifiers(rng, {{30, Qt::NoModifier},
                                 {55, Qt::ShiftModifier},
                                 {90, Qt::ControlModifier},
                                 {95, Qt::ControlModifier | Qt::ShiftModifier},
                                 {100, Qt::AltModifier}});
}

class NotebookSoak : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = TempDir();
    SetPlatform(&platform);
    keepPrinter = TNoteForm::PrinterSetup;
    keepFont = TNoteForm::PageFontDialog;
    // The printer dialog: cancelled, or a PDF file in the soak's folder or in a folder that is missing.
    TNoteForm::PrinterSetup = [this](QPrinter& p) {
      ++prints;
      const unsigned r = rng() % 4;
      if (r == 0) return false;
      ++pdfPrints;
      p.setOutputFormat(QPrinter::PdfFormat);
      p.setOutputFileName(QString::fromStdString(r == 3 ? dir + "/missing/sheet.pdf" : dir + "/sheet.pdf"));
      return true;
    };
    // The font dialog: cancelled, or one of two sizes taken.
    TNoteForm::PageFontDialog = [this](QFont& font, const std::function<void(const QFont&)>&) {
      ++fonts;
      if (rng() % 2) return false;
      font.setPointSize(rng() % 2 ? 10 : 14);
      return true;
    };
    // Anything modal (the page editor, the title box) or popped up is closed on the next turn of its
    // event loop, and counted.
    closer.Start();
    // Pages to open: a full one, a short one, a damaged one.
    std::string full = "#soak\r\n";
    for (int i = 0; i < 52; ++i) full += SampleLines()[i % SampleLines().size()] + "\r\n";
    std::ofstream(dir + "/full.siki", std::ios::binary) << full;
    std::ofstream(dir + "/short.siki", std::ios::binary) << "1b2+3b1=\r\n2x+1=5\r\n";
    std::ofstream(dir + "/damaged.siki", std::ios::binary) << "1+\xff\xfe\r\n\0\0\r\n4:6\r\n";
  }
  void TearDown() override {
    closer.Stop();
    if (TNoteForm* f = TNoteForm::Instance()) {
      NotePage.modified = false;
      f->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    TNoteForm::PrinterSetup = keepPrinter;
    TNoteForm::PageFontDialog = keepFont;
    SetPlatform(&TestPlatform());
  }

  // The soak folder's page files and their bytes.
  std::map<std::string, std::string> PageFiles() const {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(dir))
      if (e.path().extension() == ".siki") files[e.path().string()] = ReadBytes(e.path().string());
    return files;
  }

  // A random file name for the open and save dialogs (some cancel, some cannot be used).
  void ScriptFileDialog() {
    platform.fileNames.clear();
    const char* names[] = {"/full.siki", "/short.siki",     "/damaged.siki",     "/saved.siki",
                           "/saved.txt", "/missing/x.siki", "/nothing-here.siki"};
    const unsigned r = rng() % 9;
    if (r < 7) platform.fileNames.push_back(dir + names[r]);
  }

  std::mt19937 rng;
  std::string dir;
  RecordingPlatform platform;
  ModalCloser closer;
  std::function<bool(QPrinter&)> keepPrinter;
  std::function<bool(QFont&, const std::function<void(const QFont&)>&)> keepFont;
  int prints = 0, pdfPrints = 0, fonts = 0;
};

TEST_F(NotebookSoak, RandomCommandsKeepThePageSound) {
  const long steps = EnvNumber("KAZORU_NOTEBOOK_SOAK_STEPS", 2000);
  // Each handler must return within 100 ms; KAZORU_SOAK_LIMIT_MS raises it for runs under valgrind.
  const qint64 limitNs = EnvNumber("KAZORU_SOAK_LIMIT_MS", 100) * 1'000'000;
  const unsigned seed = static_cast<unsigned>(EnvNumber("KAZORU_SOAK_SEED", 20261210));
  rng.seed(seed);
  const MsgAnswer answers[] = {MsgAnswer::Yes, MsgAnswer::No, MsgAnswer::Ok, MsgAnswer::Cancel};
  const int lastCommand = static_cast<int>(NoteCommand::ScrollRight);

  qint64 slowestNs = 0, slowestWriteNs = 0;
  std::string slowest, slowestWrite;
  long overLimit = 0, reopened = 0, savesChecked = 0, failedSaves = 0;
  std::vector<std::string> recent;
  QElapsedTimer clock, whole;
  whole.start();
  double earlyMb = 0;  // resident memory once a tenth of the run is done
  for (long i = 0; i < steps; ++i) {
    if (i == steps / 10) earlyMb = ResidentMb();
    TNoteForm* f = TNoteForm::Instance();
    std::string step;
    platform.defaultAnswer = answers[rng() % 4];
    platform.inputs.clear();
    if (rng() % 2) platform.inputs.push_back(std::to_string(rng() % 100));
    ScriptFileDialog();
    const std::map<std::string, std::string> filesBefore = PageFiles();
    const int pdfPrintsBefore = pdfPrints;
    const bool modifiedBefore = NotePage.modified;
    const std::string fileBefore = NotePage.fileName;
    std::string pageBefore;
    const bool storable = SikiFileBytes(pageBefore);
    clock.start();
    if (!f) {
      const std::string& line = SampleLines()[rng() % SampleLines().size()];
      step = "open with \"" + line + "\"";
      TNoteForm::Open(rng() % 2 ? NoteOrigin::CalculationScreen : NoteOrigin::ExpressionEditor, line);
      ++reopened;
    } else if (rng() % 2) {
      const auto command = static_cast<NoteCommand>(1 + rng() % lastCommand);
      step = "command " + std::to_string(static_cast<int>(command));
      f->RunCommand(command);
    } else {
      const int key = NoteKeys()[rng() % NoteKeys().size()];
      const Qt::KeyboardModifiers mods = RandomModifiers(rng);
      step = "key 0x" + QString::number(key, 16).toStdString() + "/" +
             QString::number(int(mods), 16).toStdString();
      QTest::keyClick(f, static_cast<Qt::Key>(key), mods);
    }
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const qint64 ns = clock.nsecsElapsed();
    // A step that wrote a file waits for the disk to take it (the save is flushed to the device): it gets
    // a second; every other step 100 ms.
    const std::map<std::string, std::string> filesAfter = PageFiles();
    const bool wrote = filesAfter != filesBefore || pdfPrints != pdfPrintsBefore;
    qint64& slowestOfKind = wrote ? slowestWriteNs : slowestNs;
    if (ns > slowestOfKind) {
      slowestOfKind = ns;
      (wrote ? slowestWrite : slowest) = step;
    }
    if (ns > (wrote ? std::max<qint64>(1'000'000'000, limitNs) : limitNs) && ++overLimit <= 10)
      std::printf("slow step %ld: %s took %.1f ms\n", i, step.c_str(), ns / 1e6);

    recent.push_back(step + " -> " + std::to_string(NotePage.lineCount) + " lines, selected " +
                     std::to_string(NotePage.selected));
    if (recent.size() > 20) recent.erase(recent.begin());
    std::string where = "step " + std::to_string(i) + ":";
    for (const std::string& r : recent) where += "\n  " + r;

    ASSERT_GE(NotePage.lineCount, 0) << where;
    ASSERT_LE(NotePage.lineCount, NOTE_MAX_LINES) << where;
    ASSERT_GE(NotePage.selected, 0) << where;
    ASSERT_LE(NotePage.selected, NotePage.lineCount) << where;
    ASSERT_GE(NotePage.backupCount, 0) << where;
    ASSERT_LE(NotePage.backupCount, NOTE_MAX_LINES) << where;
    // A file written by this step holds the page as it was when the step began (a save comes before any
    // clearing or opening that follows it); a failed save is told and leaves the page changed.
    for (const auto& [path, bytes] : filesAfter) {
      const auto before = filesBefore.find(path);
      if (before != filesBefore.end() && before->second == bytes) continue;
      ASSERT_TRUE(storable) << where;
      ASSERT_EQ(bytes, pageBefore) << path << "\n" << where;
      ++savesChecked;
    }
    bool saveFailed = false;
    for (const auto& m : platform.log) saveFailed |= m.text == SIKI_SAVE_FAILED_TEXT;
    if (saveFailed) {
      ++failedSaves;
      ASSERT_EQ(NotePage.modified, modifiedBefore) << where;
      ASSERT_EQ(NotePage.fileName, fileBefore) << where;
    }
    platform.Clear();
    if (TNoteForm* open = TNoteForm::Instance()) {
      for (QScrollBar* bar : open->findChildren<QScrollBar*>()) {
        ASSERT_GE(bar->value(), bar->minimum()) << where;
        ASSERT_LE(bar->value(), bar->maximum()) << where;
      }
    }
  }
  const double seconds = whole.elapsed() / 1000.0;
  std::printf(
      "notebook soak: %ld steps (seed %u) in %.1f s; slowest %.1f ms (%s), slowest writing a file "
      "%.1f ms (%s); %ld over the limit; "
      "%ld openings; %ld saves checked on disk, %ld failed saves told; %d print and %d font dialogs; "
      "%d windows closed; resident %.1f MB after a tenth, %.1f MB at the end\n",
      steps, seed, seconds, slowestNs / 1e6, slowest.c_str(), slowestWriteNs / 1e6, slowestWrite.c_str(),
      overLimit, reopened, savesChecked, failedSaves, prints, fonts, closer.closed, earlyMb, ResidentMb());
  EXPECT_EQ(overLimit, 0) << "slowest " << slowestNs / 1e6 << " ms: " << slowest;
}

}  // namespace
