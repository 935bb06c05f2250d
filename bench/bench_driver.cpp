// bench_driver: measures programs from outside, the way a user meets them,
// always side by side in one run (bench/run.sh starts it under Wine).
//
//   bench_driver start ROUNDS PROGRAM...
//       PROGRAM is LABEL=CLASS=PATH, then =marks for a bench build that
//       writes its start-up marks, =form for a window built from the main
//       window's control table. Every round starts each program once, the
//       order turning by one each round. Each start is timed from just before
//       CreateProcess until a visible top-level window of CLASS of that
//       process, polled for every millisecond, has answered WM_NULL (a =form
//       window: with every control of the table there and the focus in the
//       first name box, as the user finds it); then until it and its controls
//       have nothing left to paint. One start of the last PROGRAM comes
//       first and is not counted: the session's first start pays for the session. Once the program
//       is idle its peak working set and private bytes are read, and it is
//       ended. Ratios are against the last PROGRAM.
//   bench_driver cycle COUNT PATH
//       One running annuvia.exe: COUNT cycles of Next, the result window, Back
//       and the main window painted again, with names of 10 characters, and
//       COUNT with names of 100,000, in alternating blocks.
//
// Before every start the reminder date is stored as today, so no question
// comes up. Min, median and max of every figure are printed.

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

#include "e2e/driver.h"

namespace {

using e2e::Narrow;

constexpr DWORD kWaitMs = 15000;
constexpr wchar_t kAppName[] = L"annuvia";  // the settings key follows the exe's name

double Now() {
    static const double perMs = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / perMs;
}

double CounterToMs(long long counter, long long frequency) {
    return static_cast<double>(counter) * 1000.0 / static_cast<double>(frequency);
}

struct Stats {
    double min = 0, median = 0, max = 0;
};

Stats Summarise(std::vector<double> values) {
    if (values.empty()) return {};
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {values.front(), median, values.back()};
}

bool Answers(HWND window) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kWaitMs, &ignored) != 0;
}

// A visible top-level window of the class that belongs to the process.
HWND VisibleWindow(const wchar_t* className, DWORD pid) {
    for (HWND w = FindWindowExW(nullptr, nullptr, className, nullptr); w;
         w = FindWindowExW(nullptr, w, className, nullptr)) {
        if (IsWindowVisible(w) && e2e::ProcessOf(w) == pid) return w;
    }
    return nullptr;
}

template <typename Ready>
bool Poll(Ready&& ready, DWORD timeoutMs = kWaitMs) {
    const double end = Now() + timeoutMs;
    while (!ready()) {
        if (Now() > end) return false;
        Sleep(1);
    }
    return true;
}

// The main window's controls, every one of its table.
constexpr int kFormControls[] = {
    e2e::ids::Frame2,        e2e::ids::Label61,      e2e::ids::fraName,     e2e::ids::Label1,
    e2e::ids::Label4,        e2e::ids::Label5,       e2e::ids::txtFirstName, e2e::ids::txtMiddleName,
    e2e::ids::txtLastName,   e2e::ids::fraBirthDay,  e2e::ids::cboMonth,    e2e::ids::cboDate,
    e2e::ids::cboYear,       e2e::ids::cmdNext,      e2e::ids::lblForMonth, e2e::ids::lblForDate,
    e2e::ids::lblForYear,    e2e::ids::fraFullBrand, e2e::ids::lblFullBrand, e2e::ids::lblCobrand,
    e2e::ids::cmdExit,
};

struct FoundControls {
    std::vector<int> ids;
    HWND firstName = nullptr;
};

BOOL CALLBACK CollectControl(HWND child, LPARAM lp) {
    auto& found = *reinterpret_cast<FoundControls*>(lp);
    const int id = GetDlgCtrlID(child);
    found.ids.push_back(id);
    if (id == e2e::ids::txtFirstName) found.firstName = child;
    return TRUE;
}

// Up as the user finds it: every control of the table there, and the focus,
// read from the window's thread, in the first name box.
bool FormReady(HWND window) {
    FoundControls found;
    EnumChildWindows(window, CollectControl, reinterpret_cast<LPARAM>(&found));
    for (int id : kFormControls)
        if (std::find(found.ids.begin(), found.ids.end(), id) == found.ids.end()) return false;
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    return found.firstName && GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui) &&
           gui.hwndFocus == found.firstName;
}

BOOL CALLBACK FindUnpainted(HWND child, LPARAM lp) {
    if (!IsWindowVisible(child) || !GetUpdateRect(child, nullptr, FALSE)) return TRUE;
    *reinterpret_cast<bool*>(lp) = true;
    return FALSE;
}

// Waits until neither the window nor any of its controls has anything left to
// paint, then for an answer: a paint under way when the last update region
// went ends before the program takes the message. Nothing is asked of the
// program's painting itself, which goes on in its own order.
bool Painted(HWND window) {
    const bool painted = Poll([&] {
        bool pending = GetUpdateRect(window, nullptr, FALSE) != FALSE;
        if (!pending) EnumChildWindows(window, FindUnpainted, reinterpret_cast<LPARAM>(&pending));
        return !pending;
    });
    return painted && Answers(window);
}

void Settle(HANDLE process, HWND window) {
    WaitForInputIdle(process, kWaitMs);
    Painted(window);
    Sleep(150);
    Answers(window);
}

std::wstring MarksPath() {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + L"annuvia-bench-marks-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
}

struct Program {
    std::wstring label, className, path;
    bool marks = false;
    bool form = false;  // built from the main window's control table
    std::vector<double> visible, painted, peakWorkingSet, privateBytes;  // ms, MiB
    // Per round: the marks as (step, ms since the start).
    std::vector<std::vector<std::pair<std::string, double>>> phases;
};

bool ParseProgram(const std::wstring& argument, Program& program) {
    std::vector<std::wstring> parts;
    std::size_t from = 0;
    for (;;) {
        const std::size_t eq = argument.find(L'=', from);
        parts.push_back(argument.substr(from, eq == std::wstring::npos ? std::wstring::npos : eq - from));
        if (eq == std::wstring::npos) break;
        from = eq + 1;
    }
    if (parts.size() < 3) return false;
    program.label = parts[0];
    program.className = parts[1];
    program.path = parts[2];
    for (std::size_t i = 3; i < parts.size(); ++i) {
        bool& flag = parts[i] == L"marks" ? program.marks : program.form;
        if (flag || (parts[i] != L"marks" && parts[i] != L"form")) return false;
        flag = true;
    }
    return true;
}

std::vector<std::pair<std::string, double>> ReadMarks(const std::wstring& path, double startMs) {
    std::vector<std::pair<std::string, double>> marks;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return marks;
    char line[512];
    long long frequency = 0;
    while (std::fgets(line, sizeof line, file)) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        const std::size_t tab = text.find('\t');
        if (tab == std::string::npos) continue;
        if (text.compare(0, tab, "frequency") == 0) {
            frequency = std::atoll(text.c_str() + tab + 1);
            continue;
        }
        const long long counter = std::atoll(text.c_str());
        std::string step = text.substr(tab + 1);
        const std::size_t tab2 = step.find('\t');
        std::string form = tab2 == std::string::npos ? "" : step.substr(tab2 + 1);
        if (tab2 != std::string::npos) step.resize(tab2);
        if (form.rfind("Annuvia_", 0) == 0) form.erase(0, 8);
        if (frequency > 0)
            marks.emplace_back(form.empty() ? step : form + ": " + step, CounterToMs(counter, frequency) - startMs);
    }
    std::fclose(file);
    return marks;
}

bool StartOnce(Program& program, const std::wstring& marksPath) {
    e2e::SetStoredReminder(kAppName, e2e::ShortDateFromToday(0));
    DeleteFileW(marksPath.c_str());
    SetEnvironmentVariableW(L"ANNUVIA_BENCH_MARKS", program.marks ? marksPath.c_str() : nullptr);
    PROCESS_INFORMATION info{};
    double start = 0;
    if (!e2e::StartExe(program.path, info, [&] { start = Now(); })) {
        std::fprintf(stderr, "bench_driver: cannot start %s (error %lu)\n", Narrow(program.path).c_str(),
                     GetLastError());
        return false;
    }
    HWND window = nullptr;
    const bool shown = Poll([&] { return (window = VisibleWindow(program.className.c_str(), info.dwProcessId)); }) &&
                       (!program.form || Poll([&] { return FormReady(window); }));
    bool ok = shown && Answers(window);
    const double answered = Now();
    ok = ok && Painted(window);
    const double painted = Now();
    if (ok) {
        program.visible.push_back(answered - start);
        program.painted.push_back(painted - start);
        Settle(info.hProcess, window);
        PROCESS_MEMORY_COUNTERS_EX memory{};
        memory.cb = sizeof memory;
        if (GetProcessMemoryInfo(info.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
            program.peakWorkingSet.push_back(static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0));
            // Wine leaves PrivateUsage empty for other processes; PagefileUsage is
            // there the process's anonymous resident memory, its private bytes.
            const SIZE_T privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
            program.privateBytes.push_back(static_cast<double>(privateBytes) / (1024.0 * 1024.0));
        }
        if (program.marks) {
            std::vector<std::pair<std::string, double>> marks;
            Poll([&] { return !(marks = ReadMarks(marksPath, start)).empty(); }, 5000);
            if (marks.empty()) std::fprintf(stderr, "bench_driver: %s wrote no marks\n", Narrow(program.label).c_str());
            program.phases.push_back(std::move(marks));
        }
    } else {
        std::fprintf(stderr, "bench_driver: %s showed no answering window\n", Narrow(program.label).c_str());
    }
    TerminateProcess(info.hProcess, 0);
    WaitForSingleObject(info.hProcess, kWaitMs);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return ok;
}

bool WarmUp(const Program& program, const std::wstring& marksPath) {
    Program uncounted = program;
    return StartOnce(uncounted, marksPath);
}

// The median of the rounds' own ratios: both met the same machine in a round.
double PairedRatio(const std::vector<double>& mine, const std::vector<double>& theirs) {
    std::vector<double> paired;
    for (std::size_t i = 0; i < mine.size() && i < theirs.size(); ++i) paired.push_back(mine[i] / theirs[i]);
    return Summarise(paired).median;
}

void PrintTable(const char* title, const char* unit, const std::vector<Program>& programs,
                std::vector<double> Program::*figure, double goal) {
    std::printf("\n%s (%s)\n", title, unit);
    std::printf("  %-16s %9s %9s %9s %9s %9s\n", "", "min", "median", "max", "in round", "ratio");
    const Stats base = Summarise(programs.back().*figure);
    for (const Program& program : programs) {
        const std::vector<double>& values = program.*figure;
        const Stats s = Summarise(values);
        // Rounds count from 1; the programs' first starts of the session are all in round 1.
        const auto slowest = std::max_element(values.begin(), values.end()) - values.begin() + 1;
        std::printf("  %-16s %9.1f %9.1f %9.1f %9d %9.2f\n", Narrow(program.label).c_str(), s.min, s.median, s.max,
                    static_cast<int>(slowest), base.median > 0 ? s.median / base.median : 0.0);
    }
    if (goal <= 0) return;
    for (const Program& program : programs) {
        if (&program == &programs.back()) break;
        const double ratio = Summarise(program.*figure).median / base.median;
        std::printf("  goal: %s within %.2fx of %s: %.2fx, %s (median of the rounds' own ratios %.2fx)\n",
                    Narrow(program.label).c_str(), goal, Narrow(programs.back().label).c_str(), ratio,
                    ratio <= goal ? "met" : "missed", PairedRatio(program.*figure, programs.back().*figure));
    }
    // The floor of the design: annuvia against the stand-in, whose own ratio
    // to the blank may lie above the goal; then the target is 1.05x of it.
    const auto labelled = [&](const wchar_t* label) {
        return std::find_if(programs.begin(), programs.end(), [&](const Program& p) { return p.label == label; });
    };
    const auto annuvia = labelled(L"annuvia"), standIn = labelled(L"standin");
    if (annuvia == programs.end() || standIn == programs.end()) return;
    const double floor = Summarise((*standIn).*figure).median / base.median;
    const double target = std::max(goal, 1.05 * floor);
    const double ratio = Summarise((*annuvia).*figure).median / base.median;
    std::printf("  annuvia / standin: %.2fx (rounds' own %.2fx); standin / %s %.2fx, so the target is %s: %.2fx, %s\n",
                Summarise((*annuvia).*figure).median / Summarise((*standIn).*figure).median,
                PairedRatio((*annuvia).*figure, (*standIn).*figure), Narrow(programs.back().label).c_str(), floor,
                target > goal ? "1.05x of the stand-in" : "the goal", target, ratio <= target ? "met" : "missed");
}

void PrintPhases(const Program& program) {
    if (program.phases.empty()) return;
    // Rounds agree on their steps; a round that does not is left out.
    const auto& first = program.phases.front();
    std::vector<const std::vector<std::pair<std::string, double>>*> rounds;
    for (const auto& round : program.phases) {
        bool same = round.size() == first.size();
        for (std::size_t i = 0; same && i < round.size(); ++i) same = round[i].first == first[i].first;
        if (same) rounds.push_back(&round);
    }
    std::printf("\nWhere the time goes: %s, medians of %zu rounds (ms; 'took' is the time since the step before)\n",
                Narrow(program.label).c_str(), rounds.size());
    std::printf("  %8s %8s  %s\n", "at", "took", "step");
    std::printf("  %8.1f %8s  %s\n", 0.0, "", "CreateProcess");
    for (std::size_t i = 0; i < first.size(); ++i) {
        std::vector<double> at, took;
        for (const auto* round : rounds) {
            at.push_back((*round)[i].second);
            took.push_back((*round)[i].second - (i ? (*round)[i - 1].second : 0.0));
        }
        std::printf("  %8.1f %8.1f  %s\n", Summarise(at).median, Summarise(took).median, first[i].first.c_str());
    }
    std::printf("  %8.1f %8s  %s\n", Summarise(program.visible).median, "", "visible and answering (seen from outside)");
}

int Start(int rounds, const std::vector<std::wstring>& arguments) {
    std::vector<Program> programs(arguments.size());
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (!ParseProgram(arguments[i], programs[i])) {
            std::fprintf(stderr, "bench_driver: bad program %s (LABEL=CLASS=PATH[=marks][=form])\n",
                         Narrow(arguments[i]).c_str());
            return 2;
        }
    }
    const std::wstring marksPath = MarksPath();
    // The session's first start, whatever the program, pays for the session
    // (400 to 600 ms more than the others here): one start of the last
    // program goes first and is not counted.
    if (!WarmUp(programs.back(), marksPath)) return 1;
    int failures = 0;
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t k = 0; k < programs.size(); ++k) {
            Program& program = programs[(k + static_cast<std::size_t>(round)) % programs.size()];
            if (!StartOnce(program, marksPath)) ++failures;
        }
    }
    DeleteFileW(marksPath.c_str());
    if (failures) return 1;
    std::printf("%d rounds, the programs alternating; ratios against %s.\n", rounds,
                Narrow(programs.back().label).c_str());
    PrintTable("Start to a visible main window that answers WM_NULL", "ms", programs, &Program::visible, 1.5);
    PrintTable("Start to that window painted", "ms", programs, &Program::painted, 1.6);
    PrintTable("Peak working set once the window is up", "MiB", programs, &Program::peakWorkingSet, 1.2);
    PrintTable("Private bytes once the window is up", "MiB", programs, &Program::privateBytes, 0);
    for (const Program& program : programs) PrintPhases(program);
    return 0;
}

// --- The Next, result, Back cycle -----------------------------------------

bool SetText(HWND edit, const std::wstring& text) {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL, kWaitMs, nullptr);
    SendMessageTimeoutW(edit, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kWaitMs, &length);
    return length == text.size();
}

std::wstring Name(std::size_t length) {
    static const wchar_t kLetters[] = L"ANNABEL LEE ";
    std::wstring name;
    for (std::size_t i = 0; i < length; ++i) name.push_back(kLetters[i % (std::size(kLetters) - 1)]);
    name[0] = L'A';  // never a blank name
    return name;
}

int Cycle(int count, const std::wstring& path) {
    e2e::SetStoredReminder(kAppName, e2e::ShortDateFromToday(0));
    PROCESS_INFORMATION info{};
    if (!e2e::StartExe(path, info)) {
        std::fprintf(stderr, "bench_driver: cannot start %s (error %lu)\n", Narrow(path).c_str(), GetLastError());
        return 1;
    }
    const DWORD pid = info.dwProcessId;
    int status = 0;
    auto fail = [&](const char* why) {
        std::fprintf(stderr, "bench_driver: cycle: %s\n", why);
        status = 1;
    };
    HWND main = nullptr;
    std::map<std::size_t, std::vector<double>> times;  // by name length
    const std::size_t lengths[2] = {10, 100000};
    const int blocks = std::min(count, 5);
    if (!Poll([&] { return (main = VisibleWindow(e2e::kMainClass, pid)); }) || !Answers(main)) {
        fail("the main window did not show");
    } else {
        Settle(info.hProcess, main);
        const HWND next = e2e::FindControl(main, e2e::ids::cmdNext);
        const HWND names[3] = {e2e::FindControl(main, e2e::ids::txtFirstName),
                               e2e::FindControl(main, e2e::ids::txtMiddleName),
                               e2e::FindControl(main, e2e::ids::txtLastName)};
        for (int block = 0; status == 0 && block < 2 * blocks; ++block) {
            const std::size_t length = lengths[block % 2];
            for (HWND box : names)
                if (!SetText(box, Name(length))) fail("the names did not take");
            Settle(info.hProcess, main);
            const int cycles = count / blocks + (block / 2 < count % blocks ? 1 : 0);
            for (int i = 0; status == 0 && i < cycles; ++i) {
                const double start = Now();
                HWND result = nullptr;
                if (!e2e::PostClick(next) || !Poll([&] { return (result = VisibleWindow(e2e::kResultClass, pid)); })) {
                    fail("no result window after Next");
                    break;
                }
                if (!e2e::PostClick(e2e::FindControl(result, e2e::ids::Result::cmdback))) {
                    fail("no Back button");
                    break;
                }
                const bool back = Poll([&] {
                    return !IsWindow(result) && IsWindowVisible(main) && !VisibleWindow(e2e::kExitClass, pid);
                });
                if (!back || !Painted(main)) {
                    fail("the main window did not come back");
                    break;
                }
                times[length].push_back(Now() - start);
            }
        }
    }
    TerminateProcess(info.hProcess, 0);
    WaitForSingleObject(info.hProcess, kWaitMs);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    if (status) return status;
    std::printf("\nNext, result window, Back (through the exit screen), main window painted again (ms, %d cycles each)\n",
                count);
    std::printf("  %-24s %9s %9s %9s %9s\n", "", "min", "median", "max", "ratio");
    const Stats shortNames = Summarise(times[lengths[0]]);
    for (std::size_t length : lengths) {
        const Stats s = Summarise(times[length]);
        const std::string label = "names of " + std::to_string(length) + " chars";
        std::printf("  %-24s %9.1f %9.1f %9.1f %9.2f\n", label.c_str(), s.min, s.median, s.max,
                    s.median / shortNames.median);
    }
    const double ratio = Summarise(times[lengths[1]]).median / shortNames.median;
    std::printf("  goal: 100,000-character names within 1.50x of 10-character names: %.2fx, %s\n", ratio,
                ratio <= 1.5 ? "met" : "missed");
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    const int number = argc > 2 ? static_cast<int>(std::wcstol(argv[2], nullptr, 10)) : 0;
    if (mode == L"start" && number > 0 && argc > 4) return Start(number, std::vector<std::wstring>(argv + 3, argv + argc));
    if (mode == L"cycle" && number > 0 && argc == 4) return Cycle(number, argv[3]);
    std::fprintf(stderr,
                 "usage: bench_driver start ROUNDS LABEL=CLASS=PATH[=marks][=form]... | bench_driver cycle COUNT PATH\n");
    return 2;
}
