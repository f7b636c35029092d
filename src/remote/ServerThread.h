#pragma once

#include <atomic>
#include <string>
#include <thread>

#include "remote/Engine.h"
#include "remote/QueueUi.h"
#include "remote/RemoteState.h"
#include "remote/Server.h"

namespace tunx::remote {

// The remote control beside the windows: the server on a thread of its own. Each command runs
// through `call`, which hands it to the program's thread in order with the user's actions and
// returns once it has run, so a client and the user share one queue. SYSTem:EXIT is refused:
// the windows' user ends the program.
class ServerThread {
  public:
    ServerThread(Program& program, Engine::Runner call, ServerLimits limits = {});
    ~ServerThread();
    ServerThread(const ServerThread&) = delete;
    ServerThread& operator=(const ServerThread&) = delete;

    // Opens the listening socket; false with `why` when it cannot (a port in use).
    bool listen(const Endpoint& at, std::string& why);
    std::string where() const { return server_.where(); }
    std::uint16_t port() const { return server_.port(); }

    // Starts serving.
    void start();
    // Ends the thread once the command under way has returned from `call`; the client's
    // connection closes with the server thread.
    void stop();

    // On the program's thread, while a client's command runs: the window system its handlers
    // see for message boxes (errors in the client's queue) and file dialogs (cancelled).
    Ui& clientUi() { return clientUi_; }

  private:
    void loop();
    void wake();

    RemoteState state_;
    QueueUi clientUi_;
    Engine engine_;
    Server server_;
    int wakeFd_ = -1;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace tunx::remote
