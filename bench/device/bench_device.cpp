// Time of keyboard writes through the device link against the simulated keyboard,
// next to the protocol's floor of 8 ms per data output report.
#include "commandset.h"
#include "devinfo.h"
#include "hid_thread.h"
#include "k3sim.h"
#include "simulatedk3.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

void waitFree(Hid_Thread &hid)
{
    while (!hid.isTokenFree())
        QThread::usleep(100);
}

template<typename F>
void measure(const char *name, int reports, int rounds, F &&run)
{
    std::vector<double> ms;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer t;
        t.start();
        run();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-34s median %7.2f ms  min %7.2f ms  max %7.2f ms  floor %3d ms (%d reports x %d ms)\n",
                name, ms[ms.size() / 2], ms.front(), ms.back(), reports * k3proto::kReportPauseMs,
                reports, k3proto::kReportPauseMs);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 50;
    k3sim::reset();
    Hid_Thread hid;
    hid.scanDevices({simulatedK3Entry()});
    uchar half[128] = {};

    measure("128-byte write (0CH)", 2, rounds, [&] {
        hid.hid_0CH_SetKeyMatrix_1(half);
        waitFree(hid);
    });
    measure("key matrix write (0CH + 0DH)", 4, rounds, [&] {
        hid.hid_0CH_SetKeyMatrix_1(half);
        hid.hid_0DH_SetKeyMatrix_2(half);
        waitFree(hid);
    });
    measure("128-byte read (8CH)", 0, rounds, [&] { hid.hid_8CH_GetKeyMatrix_1(half); });
    measure("setting without payload (08H)", 0, rounds, [&] {
        hid.hid_08H_SetLEDType(1, 2, 3, 4, 5, 6, 7);
        waitFree(hid);
    });
    return 0;
}
