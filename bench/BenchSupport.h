#pragma once
// What the end-to-end benchmarks share: a clock, the peak resident memory, the longest stall of
// the event loop, the first paint of a widget after a change, a whois server in a process of its
// own, and the one line of results each program prints for bench/run.

#include "BenchClock.h"
#include "LoopbackWhoisServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// The longest gap between two ticks of a 10 ms timer: how long the event loop was held at most.
class TickGaps {
  public:
    TickGaps() {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
            const double now = NowMs();
            longest_ = std::max(longest_, now - last_);
            last_ = now;
        });
    }
    void Start() {
        last_ = NowMs();
        longest_ = 0;
        timer_.start();
    }
    double Stop() {
        timer_.stop();
        return std::max(longest_, NowMs() - last_);
    }

  private:
    QTimer timer_;
    double last_ = 0;
    double longest_ = 0;
};

// Counts the paints of a widget, so that a benchmark can wait until a change has been shown.
class PaintCount : public QObject {
  public:
    explicit PaintCount(QWidget* widget) { widget->installEventFilter(this); }
    int Count() const { return count_; }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++count_;
        return false;
    }

  private:
    int count_ = 0;
};

// Runs the event loop until `done` holds.
inline void RunUntil(const std::function<bool()>& done) {
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// A whois server in a child process, forked before the program starts any thread, so that the
// answer it holds and the work of sending it are not counted against the client. It answers
// every connection with the answer `make` returns, in 16 KB pieces without pause.
class ServedAnswer {
  public:
    ServedAnswer(const std::string& address, const std::function<std::string()>& make) {
        int ready[2];
        if (pipe(ready) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(ready[0]);
            Serve(address, make(), ready[1]);
            _exit(0);
        }
        close(ready[1]);
        long lines = -1;
        if (read(ready[0], &lines, sizeof lines) != sizeof lines) lines = -1;
        close(ready[0]);
        lines_ = lines;
    }
    ~ServedAnswer() {
        if (pid_ <= 0) return;
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    bool Serving() const { return lines_ >= 0; }
    // The number of lines the answer holds (its LFs, and a last line without one).
    long Lines() const { return lines_; }

  private:
    static void Serve(const std::string& address, const std::string& answer, int ready) {
        LoopbackWhoisServer server(address);
        long lines = -1;
        if (server.Bound()) {
            lines = static_cast<long>(std::count(answer.begin(), answer.end(), '\n'));
            if (!answer.empty() && answer.back() != '\n') ++lines;
        } else {
            std::fprintf(stderr, "%s\n", server.Why().c_str());
        }
        LoopbackWhoisServer::Script script;
        script.pause = std::chrono::milliseconds(0);
        constexpr std::size_t piece = 16 * 1024;
        for (std::size_t at = 0; at < answer.size(); at += piece)
            script.pieces.push_back(answer.substr(at, piece));
        server.Add(std::move(script)); // each benchmark process makes one lookup
        if (write(ready, &lines, sizeof lines) != sizeof lines || lines < 0) return;
        ::pause(); // until the benchmark ends
    }

    pid_t pid_ = -1;
    long lines_ = -1;
};

// The answer size or line length a benchmark is run with, from its arguments: `<mode> <n>`.
struct BenchArgs {
    std::string mode;
    std::size_t n = 0;
};

inline BenchArgs ParseArgs(int argc, char** argv) {
    BenchArgs args;
    if (argc >= 3) {
        args.mode = argv[1];
        args.n = std::stoul(argv[2]);
    }
    return args;
}
