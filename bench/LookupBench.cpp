// A whole lookup in the real main window (offscreen) against a loopback whois server in a process
// of its own: from the run command until the answer's last line has been painted. Prints the
// time, the longest stall of the event loop, the peak resident memory and the lines shown.
//   lookup_bench answer <MB>   a whois-like answer
//   lookup_bench flood <MB>    short lines
//   lookup_bench long <KB>     one line without a blank and without an LF
//   lookup_bench peer <MB>     the same answer fetched by Debian's whois command into a file
//   lookup_bench idle <s>      the main window shown, no lookup: the stalls the machine itself
//                              causes (other processes, the scheduler), the floor of the stalls
// Needs root for port 43; bench/run runs it in a network namespace of its own.

#include "Application.h"
#include "BenchSupport.h"
#include "Unit1.h"
#include "WhoisAnswer.h"

#include <QPlainTextEdit>
#include <QTextDocument>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>

namespace {

constexpr const char* Address = "127.0.0.40";

int Lookup(int argc, char** argv, const ServedAnswer& served) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    TApplication app(argc, argv);
    TKelvaneForm form;
    form.Show();
    auto* view = static_cast<QPlainTextEdit*>(form.Info->Widget());
    PaintCount paints(view->viewport());
    RunUntil([&] { return paints.Count() > 0; });

    bool disconnected = false;
    form.CS->OnDisconnect = [&, handler = form.CS->OnDisconnect](TComponent* s,
                                                                 TCustomWinSocket* socket) {
        handler(s, socket);
        disconnected = true;
    };
    int paintsAtChange = 0;
    QObject::connect(view->document(), &QTextDocument::contentsChange, view,
                     [&] { paintsAtChange = paints.Count(); });
    form.ServerList->SetText(Address);
    form.InputData->SetText("example.jp");

    TickGaps gaps;
    gaps.Start();
    const double start = NowMs();
    const double cpuStart = CpuMs();
    form.ToolButton11->Click();
    RunUntil([&] { return disconnected && paints.Count() > paintsAtChange; });
    const double ms = NowMs() - start;
    const double cpu = CpuMs() - cpuStart;
    const double gap = gaps.Stop();
    const long lines = view->document()->blockCount() - 2; // "Kelvane" and the empty last line
    std::printf("ms=%.1f cpu_ms=%.1f gap_ms=%.1f rss_kb=%ld lines=%ld want_lines=%ld\n", ms, cpu,
                gap, PeakRssKb(), lines, served.Lines());
    return 0;
}

int Idle(int argc, char** argv, std::size_t seconds) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    TApplication app(argc, argv);
    TKelvaneForm form;
    form.Show();
    TickGaps gaps;
    gaps.Start();
    const double end = NowMs() + 1000.0 * static_cast<double>(seconds);
    RunUntil([&] { return NowMs() >= end; });
    std::printf("ms=%.1f gap_ms=%.1f rss_kb=%ld\n", NowMs() - end, gaps.Stop(), PeakRssKb());
    return 0;
}

// Debian's whois client writing the answer into a file: what a terminal client costs.
int Peer(const ServedAnswer& served) {
    char path[] = "/tmp/kelvane-peer-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) return 1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fd, 1);
    char* const args[] = {const_cast<char*>("whois"), const_cast<char*>("-h"),
                          const_cast<char*>(Address), const_cast<char*>("example.jp"), nullptr};
    const double start = NowMs();
    pid_t pid = -1;
    const int failed = posix_spawnp(&pid, "whois", &actions, nullptr, args, environ);
    int status = 0;
    if (!failed) waitpid(pid, &status, 0);
    const double ms = NowMs() - start;
    posix_spawn_file_actions_destroy(&actions);
    struct stat written {};
    fstat(fd, &written);
    close(fd);
    unlink(path);
    if (failed || !WIFEXITED(status)) {
        std::fprintf(stderr, "whois could not be run (scripts/setup installs it)\n");
        return 1;
    }
    std::printf("ms=%.1f bytes=%lld want_lines=%ld\n", ms, static_cast<long long>(written.st_size),
                served.Lines());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const BenchArgs args = ParseArgs(argc, argv);
    if (args.mode == "idle") return Idle(argc, argv, args.n);
    std::function<std::string()> make;
    if (args.mode == "answer" || args.mode == "peer")
        make = [&] { return MakeWhoisAnswer(args.n << 20); };
    else if (args.mode == "flood")
        make = [&] { return MakeFloodAnswer(args.n << 20); };
    else if (args.mode == "long")
        make = [&] { return MakeLongLine(args.n << 10); };
    if (!make || args.n == 0) {
        std::fprintf(stderr, "usage: lookup_bench answer|flood|peer <MB> | long <KB> | idle <s>\n");
        return 2;
    }
    const ServedAnswer served(Address, make); // forked before any thread starts
    if (!served.Serving()) return 1;
    return args.mode == "peer" ? Peer(served) : Lookup(argc, argv, served);
}
