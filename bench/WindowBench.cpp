// The window's heavy moments, each beside a baseline measured in the same run: start-up over a
// full registry, one keystroke into a large text with the history recording, and the history's
// memory after many small edits. Markdown tables of the goals at the end.
#include "app/MainWindow.h"
#include "app/ProgramState.h"
#include "bench/AllocationCounter.h"
#include "bench/BenchTable.h"
#include "bench/PlainRead.h"
#include "bench/WindowFiles.h"
#include "editor/EditHistory.h"
#include "store/Document.h"
#include "ui/ByteCodec.h"
#include "ui/EditBox.h"
#include "ui/TreeView.h"
#include "workspace/Workspace.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <memory>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quorvel::bench {
namespace {

using Clock = std::chrono::steady_clock;

// Each start-up figure is the fastest of a few runs: the machine may be busy with other work, and
// that only ever adds time. Keystrokes are many and short, so their median is taken instead.
constexpr int kStartupRuns = 5;
constexpr int kKeystrokes = 40;
constexpr std::size_t kLongTextBytes = 10u << 20;
constexpr int kHistoryEdits = 1000;
constexpr qint64 kShowLimitMs = 60000;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "window_bench: %s\n", what);
    std::exit(1);
}

// Shows the window and processes events until it is exposed, then once more so that the first
// paint it asked for has run.
void ShowAndWait(QWidget& window) {
    window.show();
    QElapsedTimer limit;
    limit.start();
    while (window.windowHandle() == nullptr || !window.windowHandle()->isExposed()) {
        if (limit.elapsed() > kShowLimitMs) {
            Fail("the window was never exposed");
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void ShowActive(QWidget& window) {
    ShowAndWait(window);
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window)) {
        Fail("the window was never activated");
    }
}

// Deleted windows leave deferred deletions behind; they are not part of the next measurement.
void Settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// --- Start-up --------------------------------------------------------------------------------

struct Timing {
    double fastest = 0;
    double first = 0;
};

template <typename Run> Timing Repeat(int runs, Run run) {
    Timing timing;
    for (int i = 0; i < runs; ++i) {
        const double seconds = run();
        timing.first = i == 0 ? seconds : timing.first;
        timing.fastest = i == 0 ? seconds : std::min(timing.fastest, seconds);
        Settle();
    }
    return timing;
}

// What a start-up must have restored, passed on a child's command line.
struct Expected {
    int nodes = 0;
    Text label;
    store::Path document;
};

// The window must show what the settings file names, or the time would measure something else.
void CheckRestored(app::MainWindow& window, const Expected& expected) {
    if (window.tree().Count() != expected.nodes) {
        Fail("the tree does not hold every document and label");
    }
    if (expected.label.empty()) {
        return; // nothing registered, nothing to restore
    }
    const store::SectionRead section = store::ReadSection(expected.document, expected.label);
    if (window.workspace().CurrentLabel() != expected.label || !section.found ||
        window.editBox().ReadText() != section.text) {
        Fail("the saved label was not restored");
    }
    const int selected = window.tree().Selection();
    if (selected == ui::kNoNode || window.tree().NodeText(selected) != expected.label) {
        Fail("the saved label's node is not selected");
    }
}

Expected ExpectedOf(const WindowFiles& files) {
    return {static_cast<int>(files.documents().size() + files.labelCount()), files.savedLabel(),
            files.currentDocument()};
}

// The main window over the settings file, from its construction until it is shown.
double StartMainWindow(const store::Path& settings, const std::string& directory,
                       const Expected& expected) {
    std::unique_ptr<app::ProgramState> state = app::CreateProgramState();
    app::StartupOptions options;
    options.settingsPath = settings;
    options.workingDirectory = directory;
    const Clock::time_point start = Clock::now();
    auto window = std::make_unique<app::MainWindow>(*state, std::move(options));
    ShowAndWait(*window);
    const double seconds = SecondsSince(start);
    CheckRestored(*window, expected);
    window.reset();
    app::ReleaseProgramState(state);
    return seconds;
}

double StartEmptyWindow() {
    const Clock::time_point start = Clock::now();
    auto window = std::make_unique<QMainWindow>();
    window->resize(680, 650);
    ShowAndWait(*window);
    return SecondsSince(start);
}

// Each file into memory once with the plainest calls.
double ReadAllFiles(const WindowFiles& files) {
    const Clock::time_point start = Clock::now();
    std::size_t total = 0;
    for (const store::Path& path : files.documents()) {
        total += PlainRead(path).size();
    }
    const double seconds = SecondsSince(start);
    if (total == 0) {
        Fail("the documents could not be read");
    }
    return seconds;
}

// A fresh process of this program that starts one window (see RunChild) and reports how long it
// took from its main to the window shown; Qt's one-time set-up and the application object are
// part of that, as they are of a real start.
double TimeChild(const QStringList& arguments) {
    QProcess child;
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(kShowLimitMs) || child.exitStatus() != QProcess::NormalExit ||
        child.exitCode() != 0) {
        std::fputs(child.readAllStandardError().constData(), stderr);
        Fail("a child run failed");
    }
    bool parsed = false;
    const double seconds = child.readAllStandardOutput().trimmed().toDouble(&parsed);
    if (!parsed) {
        Fail("a child run reported no time");
    }
    return seconds;
}

QString Argument(const std::string& bytes) {
    return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QStringList StartupChildArguments(const store::Path& settings, const std::string& directory,
                                  const Expected& expected) {
    return {
        QStringLiteral("--child=startup"), Argument(settings),       Argument(directory),
        QString::number(expected.nodes),   Argument(expected.label), Argument(expected.document)};
}

// --- One keystroke ---------------------------------------------------------------------------

struct KeystrokeTimes {
    double median = 0;
    double slowest = 0;
    double first = 0; // apart, as one-time work lands on it
};

KeystrokeTimes Summarise(std::vector<double> seconds) {
    const double first = seconds.front();
    std::sort(seconds.begin(), seconds.end());
    return {seconds[seconds.size() / 2], seconds.back(), first};
}

// Types kKeystrokes letters into the widget, which has the focus, each timed from the key's
// delivery to its return; what the key leads to afterwards (painting) is let run untimed.
std::vector<double> TypeLetters(QWidget& target) {
    std::vector<double> seconds;
    for (int i = 0; i < kKeystrokes; ++i) {
        const Clock::time_point start = Clock::now();
        QTest::keyClick(&target, static_cast<char>('a' + i % 26));
        seconds.push_back(SecondsSince(start));
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return seconds;
}

void FocusOn(QWidget& widget) {
    widget.setFocus(Qt::OtherFocusReason);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (!widget.hasFocus()) {
        Fail("the edit box did not take the focus");
    }
}

// The real window with the text in its edit box, written before the first show so that the
// history is seeded with it and recording is on, the caret in the middle of the text. The
// caret's position in the document is given for the baseline.
KeystrokeTimes TypeIntoEditBox(const Text& text, const std::string& directory, int& caretPosition,
                               QSize& boxSize) {
    std::unique_ptr<app::ProgramState> state = app::CreateProgramState();
    app::StartupOptions options;
    options.settingsPath = directory + "/no-settings.ini"; // a first run: nothing to restore
    options.workingDirectory = directory;
    auto window = std::make_unique<app::MainWindow>(*state, std::move(options));
    ui::EditBox& editBox = window->editBox();
    editBox.WriteText(text);
    ShowActive(*window);
    if (!state->history.IsRecording() || state->history.Count() != 1) {
        Fail("the history was not seeded at the first show");
    }
    FocusOn(*editBox.widget());
    editBox.SetSelectionStart(static_cast<std::int32_t>(text.size() / 2));
    caretPosition = editBox.widget()->textCursor().position();
    boxSize = editBox.widget()->size();

    const KeystrokeTimes times = Summarise(TypeLetters(*editBox.widget()));
    // Every key went through the recorder into the history, with the text it made.
    const editor::EditHistory& history = state->history;
    if (!window->workspace().Current().edited ||
        history.Entry(history.Count()).text.size() != text.size() + kKeystrokes) {
        Fail("the keystrokes did not reach the history");
    }
    window.reset();
    app::ReleaseProgramState(state);
    return times;
}

KeystrokeTimes TypeIntoBareEdit(const Text& text, int caretPosition, QSize size) {
    auto edit = std::make_unique<QPlainTextEdit>();
    edit->resize(size);
    edit->setPlainText(ui::DecodeForDisplay(text));
    ShowActive(*edit);
    FocusOn(*edit);
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(caretPosition);
    edit->setTextCursor(cursor);
    const qsizetype before = edit->document()->characterCount();
    const KeystrokeTimes times = Summarise(TypeLetters(*edit));
    if (edit->document()->characterCount() != before + kKeystrokes) {
        Fail("the keystrokes did not reach the bare edit control");
    }
    return times;
}

// --- The history's memory --------------------------------------------------------------------

struct HistoryMemory {
    std::size_t stored = 0; // as the history counts its own snapshots
    std::size_t held = 0;   // as the allocation counter sees it, everything the history holds
    std::size_t peak = 0;   // the most it held at any moment of the edits
};

// A line start at or after a random place: a character boundary in any code page.
std::size_t RandomLineStart(const Text& text, std::mt19937& random) {
    const std::size_t from = std::uniform_int_distribution<std::size_t>(0, text.size() - 1)(random);
    const std::size_t lineFeed = text.find('\n', from);
    return lineFeed == Text::npos ? 0 : lineFeed + 1;
}

// kHistoryEdits single-character edits as typing makes them: a letter at the caret, now and
// then a backspace, the caret moving elsewhere every 50 edits; each edit appended to the history.
HistoryMemory MeasureHistory(const Text& original) {
    Text text = original;
    text.reserve(original.size() + kHistoryEdits + 64); // the edits never move the bench's copy
    std::mt19937 random(7);
    std::size_t caret = text.size() / 2;

    HistoryMemory memory;
    const PeakScope scope;
    const std::size_t before = CurrentBytes();
    auto history = std::make_unique<editor::EditHistory>();
    history->SeedHistory(text);
    for (int edit = 0; edit < kHistoryEdits; ++edit) {
        if (edit % 50 == 0) {
            caret = RandomLineStart(text, random);
        }
        if (edit % 4 == 3 && caret > 0) {
            text.erase(--caret, 1);
        } else {
            text.insert(caret++, 1, static_cast<char>('a' + edit % 26));
        }
        history->Append(text, static_cast<std::int32_t>(caret));
    }
    memory.stored = history->StoredBytes();
    memory.held = CurrentBytes() - before;
    memory.peak = scope.PeakAbove();
    if (history->Entry(history->Count()).text != text) {
        Fail("the history lost the newest text");
    }
    return memory;
}

// --- The tables ------------------------------------------------------------------------------

std::string Today() {
    const std::time_t now = std::time(nullptr);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d", std::localtime(&now));
    return text;
}

// --- The two kinds of run --------------------------------------------------------------------

// A child run's answer: the seconds on standard output, then out at once, without the
// teardown, which is no part of a start.
[[noreturn]] void Answer(double seconds) {
    std::printf("%.9f\n", seconds);
    std::fflush(stdout);
    std::_Exit(0);
}

// A child run: one window in this fresh process, timed from main until it is shown.
int RunChild(Clock::time_point entered, const QStringList& arguments) {
    const auto bytes = [&](int i) { return arguments.value(i).toLocal8Bit().toStdString(); };
    if (arguments[1] == QLatin1String("--child=empty")) {
        QMainWindow window;
        window.resize(680, 650);
        ShowAndWait(window);
        Answer(SecondsSince(entered));
    }
    if (arguments[1] == QLatin1String("--child=startup") && arguments.size() == 7) {
        std::unique_ptr<app::ProgramState> state = app::CreateProgramState();
        app::StartupOptions options;
        options.settingsPath = bytes(2);
        options.workingDirectory = bytes(3);
        app::MainWindow window(*state, std::move(options));
        ShowAndWait(window);
        const double seconds = SecondsSince(entered);
        CheckRestored(window, Expected{arguments[4].toInt(), bytes(5), bytes(6)});
        Answer(seconds);
    }
    Fail("unknown child run");
}

int RunBench() {
    const Clock::time_point madeAt = Clock::now();
    const NotebookShape shape;
    const WindowFiles files(shape);
    const Text longText = MakeNotesText(kLongTextBytes, 42);
    std::printf("window_bench %s: %zu documents of %zu KiB with %zu labels in all; a text of %s "
                "(made in %.1f s)\n",
                Today().c_str(), files.documents().size(), shape.documentBytes >> 10,
                files.labelCount(), Size(longText.size()).c_str(), SecondsSince(madeAt));
    std::fflush(stdout);

    // Start-up as the user meets it: a fresh process each time, against a fresh process that
    // shows an empty QMainWindow, and the documents read once with the file cache as warm as
    // start-up finds it.
    const Timing read = Repeat(kStartupRuns, [&] { return ReadAllFiles(files); });
    const Timing emptyProcess =
        Repeat(kStartupRuns, [] { return TimeChild({QStringLiteral("--child=empty")}); });
    const QStringList startupArguments =
        StartupChildArguments(files.settings(), files.directory(), ExpectedOf(files));
    const Timing startupProcess = Repeat(kStartupRuns, [&] { return TimeChild(startupArguments); });
    // The window alone, over a settings file that registers nothing: what start-up costs before
    // the first document.
    const QStringList aloneArguments =
        StartupChildArguments(files.emptySettings(), files.directory(), Expected{});
    const Timing aloneProcess = Repeat(kStartupRuns, [&] { return TimeChild(aloneArguments); });
    // The same inside this process, after a first window paid Qt's one-time set-up.
    StartEmptyWindow();
    Settle();
    const Timing emptyWarm = Repeat(kStartupRuns, [] { return StartEmptyWindow(); });
    const Timing startupWarm = Repeat(kStartupRuns, [&] {
        return StartMainWindow(files.settings(), files.directory(), ExpectedOf(files));
    });
    const Timing aloneWarm = Repeat(kStartupRuns, [&] {
        return StartMainWindow(files.emptySettings(), files.directory(), Expected{});
    });
    std::printf(
        "start-up, fresh process: fastest %s, first %s; nothing registered %s; empty "
        "QMainWindow %s\n",
        Milliseconds(startupProcess.fastest).c_str(), Milliseconds(startupProcess.first).c_str(),
        Milliseconds(aloneProcess.fastest).c_str(), Milliseconds(emptyProcess.fastest).c_str());
    std::printf("start-up, in this process: fastest %s, first %s; nothing registered %s; empty "
                "QMainWindow %s\n",
                Milliseconds(startupWarm.fastest).c_str(), Milliseconds(startupWarm.first).c_str(),
                Milliseconds(aloneWarm.fastest).c_str(), Milliseconds(emptyWarm.fastest).c_str());
    std::printf("reading the documents once: %s\n", Milliseconds(read.fastest).c_str());
    std::fflush(stdout);

    int caretPosition = 0;
    QSize boxSize;
    const KeystrokeTimes typed =
        TypeIntoEditBox(longText, files.directory(), caretPosition, boxSize);
    Settle();
    const KeystrokeTimes bare = TypeIntoBareEdit(longText, caretPosition, boxSize);
    Settle();
    std::printf("keystroke (%d): median %s, slowest %s, first %s; bare QPlainTextEdit median %s, "
                "slowest %s, first %s\n",
                kKeystrokes, Milliseconds(typed.median).c_str(),
                Milliseconds(typed.slowest).c_str(), Milliseconds(typed.first).c_str(),
                Milliseconds(bare.median).c_str(), Milliseconds(bare.slowest).c_str(),
                Milliseconds(bare.first).c_str());

    const HistoryMemory memory = MeasureHistory(longText);
    std::printf("history after %d edits: stored %s, held %s, peak while editing %s\n",
                kHistoryEdits, Size(memory.stored).c_str(), Size(memory.held).c_str(),
                Size(memory.peak).c_str());

    std::printf("\n| operation | time | baseline | ratio | goal | met |\n");
    std::printf("|---|---|---|---|---|---|\n");
    const std::string startupName = "start-up, " + std::to_string(files.documents().size()) +
                                    " documents, " + std::to_string(files.labelCount()) + " labels";
    const auto startupRow = [&](const std::string& name, const Timing& startup,
                                const Timing& empty) {
        const double base = read.fastest + empty.fastest;
        Row(name, Milliseconds(startup.fastest),
            Milliseconds(base) + " (read the files " + Milliseconds(read.fastest) +
                " + empty QMainWindow " + Milliseconds(empty.fastest) + ")",
            Ratio(startup.fastest / base), "< 1 s and ≤ 1.5 × baseline",
            Met(startup.fastest < 1.0 && startup.fastest <= 1.5 * base));
    };
    startupRow(startupName + " (fresh process, main to shown)", startupProcess, emptyProcess);
    startupRow(startupName + " (in a running process)", startupWarm, emptyWarm);
    Row("start-up with nothing registered (fresh process, main to shown)",
        Milliseconds(aloneProcess.fastest),
        Milliseconds(emptyProcess.fastest) + " (empty QMainWindow)",
        Ratio(aloneProcess.fastest / emptyProcess.fastest), "— (for comparison)", "—");
    Row("keystroke in a 10 MiB text (median of " + std::to_string(kKeystrokes) + ")",
        Milliseconds(typed.median), Milliseconds(bare.median) + " (bare QPlainTextEdit)",
        Ratio(typed.median / bare.median), "< 16 ms", Met(typed.median < 0.016));
    Row("keystroke in a 10 MiB text, the first after the text was loaded",
        Milliseconds(typed.first), Milliseconds(bare.first) + " (bare QPlainTextEdit)",
        Ratio(typed.first / bare.first), "< 16 ms", Met(typed.first < 0.016));

    std::printf("\n| operation | memory | text | ratio | goal | met |\n");
    std::printf("|---|---|---|---|---|---|\n");
    const double textSize = static_cast<double>(longText.size());
    const std::string edits = "history after " + std::to_string(kHistoryEdits) + " edits";
    Row(edits + " (StoredBytes)", Size(memory.stored), Size(longText.size()),
        Ratio(static_cast<double>(memory.stored) / textSize), "≤ 2 × text",
        Met(static_cast<double>(memory.stored) <= 2 * textSize));
    Row(edits + " (allocation counter)", Size(memory.held), Size(longText.size()),
        Ratio(static_cast<double>(memory.held) / textSize), "≤ 2 × text",
        Met(static_cast<double>(memory.held) <= 2 * textSize));
    return 0;
}

} // namespace
} // namespace quorvel::bench

int main(int argc, char** argv) {
    const auto entered = quorvel::bench::Clock::now();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1 && arguments[1].startsWith(QLatin1String("--child="))) {
        return quorvel::bench::RunChild(entered, arguments);
    }
    return quorvel::bench::RunBench();
}
