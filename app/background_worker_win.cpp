#include "app/background_worker_win.h"

#include <utility>

namespace corv {

struct BackgroundWorker::Shared {
    std::mutex lock;
    std::condition_variable wake;
    std::deque<Job> jobs;
    std::atomic<bool> stopping{false};
    // Set when the loop has ended, so a stop can wait with a time limit.
    HANDLE finished = nullptr;

    Shared() : finished(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Shared() {
        if (finished) CloseHandle(finished);
    }
};

namespace {

// What a waiting caller and its job share; the job may outlive the wait
// when the worker is stopped.
struct WaitState {
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> ran{false};
    ~WaitState() {
        if (done) CloseHandle(done);
    }
};

}  // namespace

BackgroundWorker::~BackgroundWorker() {
    Stop();
}

void BackgroundWorker::Loop(std::shared_ptr<Shared> shared) {
    // Below the user's programs and the user-interface thread.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_LOWEST);
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> hold(shared->lock);
            shared->wake.wait(hold, [&] { return shared->stopping || !shared->jobs.empty(); });
            if (shared->stopping) break;
            job = std::move(shared->jobs.front());
            shared->jobs.pop_front();
        }
        try {
            job(shared->stopping);
        } catch (...) {
            // A job that throws has done nothing the caller relies on; its
            // caller does the work on the spot.
        }
    }
    SetEvent(shared->finished);
}

bool BackgroundWorker::Post(Job job) {
    if (!shared_ || shared_->stopping) {
        Stop();
        auto shared = std::make_shared<Shared>();
        if (!shared->finished) return false;
        try {
            thread_ = std::thread(&BackgroundWorker::Loop, shared);
        } catch (...) {
            return false;
        }
        shared_ = std::move(shared);
    }
    try {
        std::lock_guard<std::mutex> hold(shared_->lock);
        shared_->jobs.push_back(std::move(job));
    } catch (...) {
        return false;
    }
    shared_->wake.notify_one();
    return true;
}

bool BackgroundWorker::RunAndWait(Job job, bool& ran) {
    ran = false;
    auto wait = std::make_shared<WaitState>();
    if (!wait->done) return false;
    const bool posted = Post([job = std::move(job), wait](const std::atomic<bool>& stopping) {
        struct Signal {
            WaitState& state;
            ~Signal() { SetEvent(state.done); }
        } signal{*wait};
        job(stopping);
        wait->ran = !stopping;
    });
    if (!posted) return false;
    const std::shared_ptr<Shared> mine = shared_;
    for (;;) {
        const DWORD woke = MsgWaitForMultipleObjects(1, &wait->done, FALSE, INFINITE, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0 || woke == WAIT_FAILED) break;
        MSG message;
        bool quit = false;
        while (!quit && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                // Left for the loop that ends the program.
                PostQuitMessage(static_cast<int>(message.wParam));
                quit = true;
                break;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        // A stop from a handler run here (the session's end) drops the job.
        if (quit || mine->stopping) break;
    }
    ran = wait->ran;
    return ran;
}

void BackgroundWorker::Stop(DWORD timeoutMs) {
    if (!shared_) return;
    {
        std::lock_guard<std::mutex> hold(shared_->lock);
        shared_->stopping = true;
        shared_->jobs.clear();
    }
    shared_->wake.notify_all();
    if (thread_.joinable()) {
        if (WaitForSingleObject(shared_->finished, timeoutMs) == WAIT_OBJECT_0)
            thread_.join();
        else
            thread_.detach();
    }
    shared_.reset();
}

}  // namespace corv
