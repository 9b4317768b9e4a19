// Drives the window's host headless (offscreen) on the same work as the engine
// alone, and prints both: the run over one 50 MB file and over 10,000 small
// files (per-file mode), and the folder scan of 100,000 files in 10,000
// folders; with the longest time the event loop went without a turn, and how
// soon a window closed in the middle of a run lets the program end. Then, on
// one file of 4,000,000 small contacts (445 MB), every mode: the longest gap
// of a whole run, and the window closed at several moments of the run. It
// always exits with 0: it measures, the reader judges.
//
//   brevant_window_bench [--dir DIR] [--small]

#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iterator>
#include <stdexcept>

#include "engine/convert/conversion_run.h"
#include "event_loop_gaps.h"
#include "folder_tree.h"
#include "quiet_dialogs.h"
#include "support/bench_options.h"
#include "support/corpus_files.h"
#include "support/file_io.h"
#include "support/folders/matching_files.h"
#include "support/qt/qt_settings_store.h"
#include "support/text/utf8.h"
#include "support/work_folder.h"
#include "window/qt_main_window.h"

namespace brevant::bench {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 5;

struct Scale {
  std::uint64_t contactsFileBytes;
  std::size_t oneContactFiles;
  std::size_t topFolders;     // each with 99 below: 100 folders per top folder, 10 files each
  std::size_t smallContacts;  // of the file the closes are measured on
};
constexpr Scale kFull{50'000'000, 10'000, 100, 4'000'000};
constexpr Scale kSmall{5'000'000, 1'000, 10, 400'000};

// The moments of a run, as shares of its whole time, at which the window closes.
constexpr double kCloseMoments[] = {0.05, 0.3, 0.55, 0.8, 0.95};
constexpr char kEarlierDocument[] = "earlier document";

// The engine's surroundings with nobody watching: per-file mode into one folder.
class PlainHost final : public Host {
 public:
  PlainHost(std::vector<Text> rows, Text folder) : rows_(std::move(rows)), folder_(std::move(folder)) {}
  Colour tableTextColour() override { return 0x000000; }
  Text borderWidth() override { return u"1"; }
  Colour tableBackgroundColour() override { return 0xFFFFFF; }
  DocumentMode documentMode() override { return DocumentMode::PerInput; }
  Destination destination() override { return Destination::ChosenFolder; }
  Text chosenFolder() override { return folder_; }
  std::vector<Text> inputPaths() override { return rows_; }
  void setProgressPosition(double) override {}
  void setProgressCaption(const Text&) override {}
  void yield() override {}
  void reportError(const ErrorReport&) override { ++errors; }
  int errors = 0;

 private:
  std::vector<Text> rows_;
  Text folder_;
};

double Seconds(const std::function<void()>& work) {
  const Clock::time_point start = Clock::now();
  work();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Pair {
  double alone = 1e300;
  double window = 1e300;
  double longestGapMs = 0;  // the worst of the window's runs
};

std::vector<Text> Texts(const std::vector<std::string>& paths) {
  std::vector<Text> texts;
  for (const std::string& path : paths) texts.push_back(FromUtf8(path));
  return texts;
}

class Bench {
 public:
  Bench(const std::string& workFolder, QuietDialogs& dialogs)
      : settings_(QString::fromStdString(workFolder + "/settings.ini")), dialogs_(dialogs) {}

  std::unique_ptr<QtMainWindow> openWindow(const std::string& programFolder) {
    auto window = std::make_unique<QtMainWindow>(WindowSetup{settings_, dialogs_, FromUtf8(programFolder)});
    window->optionButton(Control::DocumentPerInput)->setChecked(true);
    window->optionButton(Control::SaveToChosenFolder)->setChecked(true);
    return window;
  }

  // The same per-file run by the engine alone and by the window's "Start Converting".
  // Every run writes into a new folder and nothing is deleted until all ran:
  // creating files just after thousands were deleted costs the file system more
  // than the conversion itself, and would fall on whichever side came second.
  Pair run(QtMainWindow& window, const std::vector<std::string>& inputs, const std::string& out) {
    Pair pair;
    window.button(Control::ClearList)->click();
    dialogs_.files = Texts(inputs);
    window.button(Control::AddFiles)->click();
    RecreateFolder(out);
    for (int i = 0; i < kRuns; ++i) {
      const std::string alone = out + "/engine-" + std::to_string(i);
      const std::string windowed = out + "/window-" + std::to_string(i);
      std::filesystem::create_directories(alone);
      std::filesystem::create_directories(windowed);
      PlainHost host(Texts(inputs), FromUtf8(alone));
      window.textBox(Control::OutputFolder)->setText(QString::fromStdString(windowed));
      // Each side goes first every other time, and starts with no dirty pages of
      // the other's documents waiting to be written back.
      for (int side = 0; side < 2; ++side) {
        ::sync();
        if ((side + i) % 2 == 0) {
          pair.alone = std::min(pair.alone, Seconds([&] { StartConverting(host); }));
          continue;
        }
        EventLoopGaps gaps;
        gaps.start();
        pair.window =
            std::min(pair.window, Seconds([&] { window.button(Control::StartConverting)->click(); }));
        gaps.stop();
        pair.longestGapMs = std::max(pair.longestGapMs, gaps.longestGapMilliseconds());
      }
    }
    std::filesystem::remove_all(out);
    return pair;
  }

  Pair scan(QtMainWindow& window, const std::string& root) {
    Pair pair;
    dialogs_.extension = u"vcf";
    dialogs_.folder = FromUtf8(root);
    for (int i = 0; i < kRuns; ++i) {
      ScanObserver quiet;
      std::size_t found = 0;
      pair.alone = std::min(
          pair.alone, Seconds([&] { found = ListMatchingFiles(FromUtf8(root), u"vcf", quiet).size(); }));
      window.button(Control::ClearList)->click();
      EventLoopGaps gaps;
      gaps.start();
      pair.window = std::min(pair.window, Seconds([&] { window.button(Control::AddFolder)->click(); }));
      gaps.stop();
      pair.longestGapMs = std::max(pair.longestGapMs, gaps.longestGapMilliseconds());
      if (window.form().inputPaths().size() != found)
        throw std::runtime_error("the window's scan found other files");
    }
    return pair;
  }

  // Closes the window after `after` seconds of a run; gives how long the run
  // took from the close to its end, and whether a temporary file stayed.
  double closeDuringRun(const std::string& programFolder, const std::vector<std::string>& inputs,
                        const std::string& out, double after, bool& leftovers) {
    std::unique_ptr<QtMainWindow> window = openWindow(programFolder);
    dialogs_.files = Texts(inputs);
    window->button(Control::AddFiles)->click();
    window->textBox(Control::OutputFolder)->setText(QString::fromStdString(out));
    window->show();
    RecreateFolder(out);
    Clock::time_point closed{};
    QTimer::singleShot(static_cast<int>(after * 1000), window.get(), [&] {
      closed = Clock::now();
      window->close();
    });
    window->button(Control::StartConverting)->click();
    const Clock::time_point ended = Clock::now();
    leftovers = false;
    for (const auto& entry : std::filesystem::directory_iterator(out))
      leftovers = leftovers || entry.path().filename().string().find(".brevant-") != std::string::npos;
    if (closed == Clock::time_point{}) return -1;  // the run ended before the close
    return std::chrono::duration<double>(ended - closed).count();
  }

  struct Closes {
    double runSeconds = 0;     // the whole run, not closed
    double longestGapMs = 0;   // of the whole run
    double worstLatency = 0;   // seconds from a close to the end of the run
    int closes = 0;            // closes made before the run ended
    bool earlierKept = true;   // the earlier document stayed as it was after every close
    bool leftovers = false;    // a temporary file stayed
    bool windowShown = false;  // the window still showed after a close
  };

  // One whole run of the input in the given mode, then one run closed at each
  // moment. The document the run would write exists beforehand.
  Closes closeAtMoments(const std::string& programFolder, const std::string& input, const std::string& out,
                        bool single, bool perContact) {
    Closes figures;
    const std::string stem = std::filesystem::path(input).stem().string();
    const std::string earlier = out + "/" + (single ? std::string("output.xml") : stem + ".htm");
    const auto runWindow = [&](double closeAfter, Clock::time_point& closed) {
      std::unique_ptr<QtMainWindow> window = openWindow(programFolder);
      (single ? window->optionButton(Control::AllInOneDocument)
              : window->optionButton(Control::DocumentPerInput))
          ->setChecked(true);
      window->checkBox(Control::RowPerContact)->setChecked(perContact);
      dialogs_.files = {FromUtf8(input)};
      window->button(Control::AddFiles)->click();
      window->textBox(Control::OutputFolder)->setText(QString::fromStdString(out));
      window->show();
      RecreateFolder(out);
      WriteFileBytes(earlier, kEarlierDocument);
      closed = {};
      if (closeAfter > 0) {
        QTimer::singleShot(static_cast<int>(closeAfter * 1000), window.get(), [&] {
          closed = Clock::now();
          window->close();
        });
      }
      EventLoopGaps gaps;
      gaps.start();
      window->button(Control::StartConverting)->click();
      gaps.stop();
      figures.windowShown =
          figures.windowShown || (closeAfter > 0 && closed != Clock::time_point{} && window->isVisible());
      return gaps.longestGapMilliseconds();
    };
    Clock::time_point closed;
    const Clock::time_point start = Clock::now();
    figures.longestGapMs = runWindow(0, closed);
    figures.runSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    for (const double moment : kCloseMoments) {
      runWindow(moment * figures.runSeconds, closed);
      const Clock::time_point ended = Clock::now();
      if (closed == Clock::time_point{}) continue;  // the run ended before the close
      ++figures.closes;
      figures.worstLatency =
          std::max(figures.worstLatency, std::chrono::duration<double>(ended - closed).count());
      figures.earlierKept = figures.earlierKept && ReadFileBytes(earlier) == kEarlierDocument;
      for (const auto& entry : std::filesystem::directory_iterator(out))
        figures.leftovers =
            figures.leftovers || entry.path().filename().string().find(".brevant-") != std::string::npos;
    }
    std::filesystem::remove_all(out);
    return figures;
  }

 private:
  QtSettingsStore settings_;
  QuietDialogs& dialogs_;
};

void PrintPair(const char* name, const Pair& pair, double goal) {
  const double ratio = pair.window / pair.alone;
  std::printf("%-44s %9.3f %9.3f %7.2f  %-8s %9.1f  %s\n", name, pair.alone, pair.window, ratio,
              ratio <= goal ? "met" : "NOT MET", pair.longestGapMs,
              pair.longestGapMs <= 100 ? "met" : "NOT MET");
}

int Run(const BenchOptions& options) {
  const Scale& scale = options.small ? kSmall : kFull;
  const WorkFolder work(options.folder);
  const std::string contacts = work / "contacts.vcf";
  const std::string many = work / "one-contact";
  const std::string tree = work / "tree";
  const std::string smallContacts = work / "small-contacts.vcf";
  const std::string description = "window corpus 2, " + std::to_string(scale.contactsFileBytes) + " bytes\n";
  if (!CorpusIsReady(work.path(), description)) {
    std::printf("Generating the corpus in %s ...\n", work.path().c_str());
    std::fflush(stdout);
    WriteContactsFile(contacts, scale.contactsFileBytes, 1);
    RecreateFolder(many);
    WriteOneContactFiles(many, scale.oneContactFiles, 2);
    std::filesystem::remove_all(tree);
    WriteFolderTree(tree, scale.topFolders, 99, 10);
    WriteSmallContactsFile(smallContacts, scale.smallContacts);
    MarkCorpusReady(work.path(), description);
  }
  const std::vector<std::string> manyFiles = ListFiles(many, ".vcf");
  ReadAndDiscard(contacts);
  for (const std::string& file : manyFiles) ReadAndDiscard(file);

  QuietDialogs dialogs;
  Bench bench(work.path(), dialogs);
  std::unique_ptr<QtMainWindow> window = bench.openWindow(work.path());
  const std::string out = work / "out";

  std::printf(
      "Best of %d runs each; seconds of wall time. The longest gap is the longest time the event\n"
      "loop went without a turn during the window's runs (goal: at most 100 ms).\n\n",
      kRuns);
  std::printf("%-44s %9s %9s %7s  %-8s %9s\n", "case", "engine", "window", "ratio", "goal", "gap ms");
  const Pair large = bench.run(*window, {contacts}, out);
  PrintPair(
      ("per-file run, one " + std::to_string(scale.contactsFileBytes / 1'000'000) + " MB file (<= 1.25)")
          .c_str(),
      large, 1.25);
  const Pair small = bench.run(*window, manyFiles, out);
  PrintPair(("per-file run, " + std::to_string(manyFiles.size()) + " files (<= 1.25)").c_str(), small, 1.25);
  const Pair scan = bench.scan(*window, tree);
  PrintPair(("scan, " + std::to_string(window->form().inputPaths().size()) + " files in " +
             std::to_string(scale.topFolders * 100) + " folders (<= 1.5)")
                .c_str(),
            scan, 1.5);
  std::printf("(\"engine\" is StartConverting on a host without a window, and ListMatchingFiles alone.)\n\n");

  for (const auto& [name, inputs, seconds] :
       {std::tuple{"one large file", std::vector<std::string>{contacts}, large.window},
        std::tuple{"many files", manyFiles, small.window}}) {
    bool leftovers = false;
    const double latency = bench.closeDuringRun(work.path(), inputs, out, seconds / 2, leftovers);
    if (latency < 0) {
      std::printf("Close during the run (%s): the run ended before the close\n", name);
    } else {
      std::printf(
          "Close during the run (%s): the run ended %.1f ms after the close (goal: under 1000 ms) %s; "
          "temporary files left: %s\n",
          name, latency * 1e3, latency < 1 ? "met" : "NOT MET", leftovers ? "YES" : "none");
    }
  }

  const double smallMegabytes = static_cast<double>(FileSize(smallContacts)) / 1e6;
  ReadAndDiscard(smallContacts);
  std::printf(
      "\nOne file of %zu small contacts (%.0f MB): a whole run in each mode, then the window closed at\n"
      "5%%, 30%%, 55%%, 80%% and 95%% of that run's time. Latency is from the close to the end of the run\n"
      "(goal: under 1000 ms); the gap is the longest the whole run left the event loop without a turn.\n\n",
      scale.smallContacts, smallMegabytes);
  std::printf("%-34s %8s %8s %7s %11s  %-8s %s\n", "mode", "run s", "gap ms", "closes", "latency ms", "goal",
              "after the closes");
  for (const bool perContact : {false, true}) {
    for (const bool single : {false, true}) {
      const std::string mode =
          std::string(single ? "one document" : "per-file") + (perContact ? ", one row per contact" : "");
      const Bench::Closes closes = bench.closeAtMoments(work.path(), smallContacts, out, single, perContact);
      // A close that comes after the run ended (runs vary in length) measures nothing.
      const bool met = closes.closes > 0 && closes.worstLatency < 1;
      std::printf("%-34s %8.2f %8.1f %4d/%zu %11.1f  %-8s earlier document %s, temporary files %s%s\n",
                  mode.c_str(), closes.runSeconds, closes.longestGapMs, closes.closes,
                  std::size(kCloseMoments), closes.worstLatency * 1e3, met ? "met" : "NOT MET",
                  closes.earlierKept ? "kept" : "REPLACED", closes.leftovers ? "LEFT" : "none",
                  closes.windowShown ? ", WINDOW STILL SHOWN" : "");
      std::fflush(stdout);
    }
  }
  std::printf("Error boxes: %d\n", dialogs.errors);
  std::filesystem::remove_all(out);
  return 0;
}

}  // namespace
}  // namespace brevant::bench

int main(int argc, char** argv) {
  brevant::bench::BenchOptions options;
  if (!brevant::bench::ParseBenchOptions(argc, argv, options)) return 0;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QApplication application(qtArgc, argv);
  try {
    return brevant::bench::Run(options);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "window benchmark: %s\n", failure.what());
    return 0;
  }
}
