// One worker thread of low priority for the main window's slow work (the
// rescan of the picture folders, preparing the next picture), so the
// window keeps answering meanwhile. Jobs run one at a time in the order
// they came. A job never touches a window and shares no GDI+ object with
// the user-interface thread; it hands back plain data.
#pragma once

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace corv {

class BackgroundWorker {
public:
    // A job gets the flag that says the worker is stopping: a long job
    // looks at it and ends early.
    using Job = std::function<void(const std::atomic<bool>& stopping)>;

    BackgroundWorker() = default;
    ~BackgroundWorker();
    BackgroundWorker(const BackgroundWorker&) = delete;
    BackgroundWorker& operator=(const BackgroundWorker&) = delete;

    // Queues `job`, starting the thread when there is none. False when the
    // thread cannot be started: the caller then does the work on the spot.
    bool Post(Job job);

    // Runs `job` on the worker and waits for it while the thread's window
    // messages go on being handled. True when the job ran to its end;
    // false when there is no worker (nothing ran: do it on the spot) or
    // the worker was stopped meanwhile (`ran` tells which).
    bool RunAndWait(Job job, bool& ran);

    // Asks the running job to end, drops the queued ones and waits for the
    // thread, at most `timeoutMs` (a folder on a disk that does not answer
    // may hold its listing longer; the thread is then left to end with the
    // process). A later Post starts a new thread.
    void Stop(DWORD timeoutMs = 3000);

private:
    struct Shared;
    static void Loop(std::shared_ptr<Shared> shared);

    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};

}  // namespace corv
