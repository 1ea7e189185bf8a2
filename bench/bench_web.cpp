// The follower's web page: time from show() to the snapshot arriving at an
// event-stream client (a separate thread reading a plain socket, as a browser
// would), p50/p99 over 1000 updates, for a small and a full net.
#include "web/web_roster.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kUpdates = 1000;

QJsonObject snapshot(int stations, int seq)
{
    QJsonArray list;
    for (int i = 0; i < stations; ++i)
        list.append(QJsonObject{{"call", QString("W%1ABC").arg(i)}, {"name", "NAME"}, {"qth", "SOME TOWN ST"},
                                {"member", true}, {"in", "2026-12-09T19:42:05Z"}, {"out", QJsonValue::Null}});
    return {{"net", "club-net"}, {"epoch", 1}, {"seq", seq},
            {"netControl", QJsonObject{{"call", "W1AW"}, {"name", "HIRAM"}}},
            {"checkins", stations}, {"traffic", 0}, {"stations", list}};
}

// Reads the stream and stamps the arrival of each "seq" it sees.
struct Reader {
    std::vector<Clock::time_point> arrived = std::vector<Clock::time_point>(kUpdates + 1);
    std::atomic<int> lastSeq{0};
    int fd = -1;

    void run()
    {
        std::string buffer;
        char chunk[65536];
        for (;;) {
            const ssize_t n = ::read(fd, chunk, sizeof chunk);
            if (n <= 0)
                return;
            buffer.append(chunk, size_t(n));
            size_t end;
            while ((end = buffer.find("\n\n")) != std::string::npos) {
                const std::string event = buffer.substr(0, end);
                buffer.erase(0, end + 2);
                const size_t at = event.find("\"seq\":");
                if (event.rfind("data: ", 0) != 0 || at == std::string::npos)
                    continue;
                const int seq = std::atoi(event.c_str() + at + 6);
                if (seq > 0 && seq <= kUpdates) {
                    arrived[size_t(seq)] = Clock::now();
                    lastSeq.store(seq, std::memory_order_release);
                }
            }
        }
    }
};

void BM_ShowToStream(benchmark::State& st)
{
    const int stations = int(st.range(0));
    std::vector<QJsonObject> snapshots;
    for (int seq = 1; seq <= kUpdates; ++seq)
        snapshots.push_back(snapshot(stations, seq));

    std::vector<double> ms;
    for (auto _ : st) {
        WebRoster web;
        if (!web.listen(0, QHostAddress::LocalHost)) {
            st.SkipWithError(qPrintable(web.errorText()));
            return;
        }
        Reader reader;
        reader.fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(web.port());
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::connect(reader.fd, reinterpret_cast<sockaddr*>(&to), sizeof to);
        const char request[] = "GET /events HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
        if (::write(reader.fd, request, sizeof request - 1) < 0)
            st.SkipWithError("no stream");
        std::thread thread([&reader] { reader.run(); });
        while (web.streamCount() == 0)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);

        std::vector<Clock::time_point> shown(kUpdates + 1);
        for (int seq = 1; seq <= kUpdates; ++seq) {
            shown[size_t(seq)] = Clock::now();
            web.show(snapshots[size_t(seq - 1)], true);
            while (reader.lastSeq.load(std::memory_order_acquire) < seq)
                QCoreApplication::processEvents();
        }
        ::shutdown(reader.fd, SHUT_RDWR);
        thread.join();
        ::close(reader.fd);
        for (int seq = 1; seq <= kUpdates; ++seq)
            ms.push_back(std::chrono::duration<double, std::milli>(reader.arrived[size_t(seq)] - shown[size_t(seq)]).count());
    }
    std::sort(ms.begin(), ms.end());
    st.counters["p50_ms"] = ms[ms.size() / 2];
    st.counters["p99_ms"] = ms[ms.size() * 99 / 100];
    st.counters["max_ms"] = ms.back();
}
BENCHMARK(BM_ShowToStream)->Arg(30)->Arg(999)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
