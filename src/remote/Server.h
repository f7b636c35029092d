#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "remote/Engine.h"
#include "remote/LineFramer.h"

namespace tunx::remote {

// Where the server listens: "[ADDRESS:]PORT" (an IPv6 address in brackets, "[::1]:5025").
struct Endpoint {
    std::string address = "127.0.0.1";
    std::uint16_t port = 5025;
};
// The endpoint a command-line value names; nothing, with `why`, for one that names none. Port 0
// lets the system choose a free port.
std::optional<Endpoint> parseEndpoint(std::string_view text, std::string& why);

struct ServerLimits {
    LineLimits line;
    // A client that sends nothing for this long, while nothing of it is under way, is dropped.
    std::chrono::milliseconds idle{std::chrono::minutes(10)};
    // Replies not yet taken by the client, or lines not yet carried out, beyond which the client
    // is not read from until they shrink.
    std::size_t backlog = std::size_t{4} << 20;
};

// A raw TCP socket server for one client at a time. A second client is told that the
// instrument is busy, in one line, and its connection is closed. Lines go to the engine in
// order; its replies go back as the client takes them. When a client leaves, the lines it
// finished sending still run (up to one that would wait for a measurement); a line without its
// end is never carried out.
class Server {
  public:
    Server(Engine& engine, ServerLimits limits = {});
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Opens the listening socket; false with `why` when it cannot.
    bool listen(const Endpoint& at, std::string& why);
    // The address and port it listens on ("127.0.0.1:5025").
    std::string where() const;
    std::uint16_t port() const { return port_; }

    // Waits up to `timeout` for the sockets (and `also`, a descriptor of the caller's, when not
    // -1), then serves what is ready: connections, input, output. True when `also` is readable.
    bool wait(std::chrono::milliseconds timeout, int also = -1);
    // Lets the engine carry out what it can now and sends its replies.
    void work();

    bool hasClient() const { return client_ >= 0; }
    // Replies are still on their way to the client.
    bool sending() const { return !output_.empty(); }

    // The line a client gets when another client is connected.
    static std::string busyText(const std::string& holder);

  private:
    void accept();
    void readClient();
    void writeClient();
    void dropClient();
    void serveRefused();

    Engine& engine_;
    ServerLimits limits_;
    int listener_ = -1;
    std::uint16_t port_ = 0;
    std::string address_;
    int client_ = -1;
    std::string clientName_;
    LineFramer framer_;
    std::string output_;
    std::chrono::steady_clock::time_point lastActive_;
    // Refused clients get their line, then a moment to read it before their socket closes.
    struct Refused {
        int fd;
        std::chrono::steady_clock::time_point until;
    };
    std::vector<Refused> refused_;
};

}  // namespace tunx::remote
