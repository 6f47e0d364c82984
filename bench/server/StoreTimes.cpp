// ca_store_times CONNECTION COUNT: stores COUNT declarations into the database CONNECTION names, one
// at a time as the download stores them (header with its two fee rows, 5 goods lines; keys start
// with "BENCHT" and the process id), and prints the median and the 99th percentile of the time each
// took, in milliseconds. What it stored is removed again at the end. Plain C++, no benchmark
// library: the same program is cross-built for Windows, so that bench/server/run-store-times can
// time a Windows desk under Wine beside the Linux build on the same server.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "StoredDeclarations.h"
#include "ca/db/TADOQuery.h"
#include "ca/db/TDM.h"
#include "ca/util/Log.h"

#ifdef _WIN32
#include <process.h>
#define CA_PROCESS_ID _getpid
#else
#include <unistd.h>
#define CA_PROCESS_ID getpid
#endif

namespace {

void removeRows(ca::db::TDM& dm, const std::string& prefix) {
    for (const char* sql :
         {"delete from subData where Pid like :p", "delete from T_fee where ty_no like :p",
          "delete from T_fee1 where ty_no like :p", "delete from LoadData where TY_No like :p"}) {
        ca::db::TADOQuery q(dm);
        q.SetSQL(sql);
        q.ParamByName("p").SetText(prefix + "%");
        q.ExecSQL();
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 || std::atoi(argv[2]) < 1) {
        std::fprintf(stderr, "usage: ca_store_times CONNECTION COUNT\n");
        return 2;
    }
    try {
        ca::db::TDM dm(argv[1]);
        const std::string prefix = "BENCHT" + std::to_string(CA_PROCESS_ID());
        const auto all = ca::bench::declarations(std::atoi(argv[2]), prefix);
        ca::VectorLog log;
        ca::download::DatabaseCapture capture(dm, log);
        ca::bench::store(capture, all.front());  // connects and sets up; not timed
        std::vector<double> ms;
        for (size_t i = 1; i < all.size(); ++i) {
            const auto start = std::chrono::steady_clock::now();
            ca::bench::store(capture, all[i]);
            ms.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        removeRows(dm, prefix);
        if (ms.empty()) return 0;
        std::sort(ms.begin(), ms.end());
        const size_t p99 =
            std::min(ms.size() - 1, static_cast<size_t>(static_cast<double>(ms.size()) * 0.99));
        std::printf("stored %zu declarations: median %.2f ms, p99 %.2f ms\n", ms.size(), ms[ms.size() / 2],
                    ms[p99]);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
