#include "remote/Server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>

namespace tunx::remote {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kBacklog = 4;
constexpr std::size_t kReadChunk = 64 * 1024;
constexpr auto kRefusedLinger = std::chrono::seconds(2);
constexpr std::size_t kMaxRefused = 16;
constexpr const char* kBusyStart = "TUNX4K busy: another client (";
constexpr const char* kBusyEnd = ") is connected; one client at a time\n";

void setNonBlocking(int fd) {
    const int flags = ::fcntl(fd, F_GETFL, 0);
    ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
}

std::string nameOf(const sockaddr_storage& a) {
    std::array<char, INET6_ADDRSTRLEN> host{};
    std::uint16_t port = 0;
    if (a.ss_family == AF_INET) {
        const auto& in = reinterpret_cast<const sockaddr_in&>(a);
        ::inet_ntop(AF_INET, &in.sin_addr, host.data(), host.size());
        port = ntohs(in.sin_port);
        return std::string(host.data()) + ":" + std::to_string(port);
    }
    const auto& in6 = reinterpret_cast<const sockaddr_in6&>(a);
    ::inet_ntop(AF_INET6, &in6.sin6_addr, host.data(), host.size());
    port = ntohs(in6.sin6_port);
    std::string name(1, '[');
    name += host.data();
    name += "]:";
    name += std::to_string(port);
    return name;
}

}  // namespace

std::optional<Endpoint> parseEndpoint(std::string_view text, std::string& why) {
    Endpoint e;
    std::string_view port = text;
    if (const auto colon = text.rfind(':'); colon != std::string_view::npos) {
        std::string_view host = text.substr(0, colon);
        port = text.substr(colon + 1);
        if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
            host = host.substr(1, host.size() - 2);
        }
        if (host.empty()) {
            why = "no address before the port in " + std::string(text);
            return std::nullopt;
        }
        e.address = host;
    }
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(port.data(), port.data() + port.size(), value);
    if (port.empty() || ec != std::errc{} || end != port.data() + port.size() || value > 65535) {
        why = "not a port number: " + std::string(port);
        return std::nullopt;
    }
    e.port = static_cast<std::uint16_t>(value);
    return e;
}

Server::Server(Engine& engine, ServerLimits limits)
    : engine_(engine), limits_(limits), framer_(limits.line) {}

Server::~Server() {
    for (const Refused& r : refused_) {
        ::close(r.fd);
    }
    if (client_ >= 0) {
        ::close(client_);
    }
    if (listener_ >= 0) {
        ::close(listener_);
    }
}

std::string Server::busyText(const std::string& holder) {
    return kBusyStart + holder + kBusyEnd;
}

bool Server::listen(const Endpoint& at, std::string& why) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const std::string port = std::to_string(at.port);
    if (const int rc = ::getaddrinfo(at.address.c_str(), port.c_str(), &hints, &found); rc != 0) {
        why = "cannot listen on " + at.address + ": " + ::gai_strerror(rc);
        return false;
    }
    why.clear();
    for (addrinfo* a = found; a != nullptr && listener_ < 0; a = a->ai_next) {
        const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            why = std::strerror(errno);
            continue;
        }
        const int on = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        if (::bind(fd, a->ai_addr, a->ai_addrlen) != 0 || ::listen(fd, kBacklog) != 0) {
            why = std::strerror(errno);
            ::close(fd);
            continue;
        }
        setNonBlocking(fd);
        listener_ = fd;
    }
    ::freeaddrinfo(found);
    if (listener_ < 0) {
        why = "cannot listen on " + at.address + ":" + port + ": " + why;
        return false;
    }
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&bound), &length);
    address_ = nameOf(bound);
    port_ = static_cast<std::uint16_t>(std::stoi(address_.substr(address_.rfind(':') + 1)));
    return true;
}

std::string Server::where() const {
    return address_;
}

bool Server::wait(std::chrono::milliseconds timeout, int also) {
    std::vector<pollfd> fds;
    fds.push_back({listener_, POLLIN, 0});
    const bool reading =
        client_ >= 0 && output_.size() < limits_.backlog && engine_.queuedBytes() < limits_.backlog;
    if (client_ >= 0) {
        const short events =
            static_cast<short>((reading ? POLLIN : 0) | (output_.empty() ? 0 : POLLOUT));
        fds.push_back({client_, events, 0});
    }
    const std::size_t alsoAt = fds.size();
    if (also >= 0) {
        fds.push_back({also, POLLIN, 0});
    }
    // A client that has been quiet too long only needs the wait to end in time.
    if (client_ >= 0 && !engine_.busy() && output_.empty()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            lastActive_ + limits_.idle - Clock::now());
        timeout = std::max(std::chrono::milliseconds(0), std::min(timeout, left));
    }
    const int n = ::poll(fds.data(), fds.size(), static_cast<int>(timeout.count()));
    const bool alsoReady = n > 0 && also >= 0 && (fds[alsoAt].revents & POLLIN) != 0;
    if (n > 0) {
        // The client first: one that has just left makes room for the one that comes now.
        if (fds.size() > 1 && fds[1].fd == client_ && client_ >= 0) {
            const short r = fds[1].revents;
            if ((r & POLLOUT) != 0) {
                writeClient();
            }
            if (client_ >= 0 && (r & (POLLIN | POLLHUP | POLLERR)) != 0) {
                readClient();
            }
        }
        if ((fds[0].revents & POLLIN) != 0) {
            accept();
        }
    }
    if (client_ >= 0 && !engine_.busy() && output_.empty() &&
        Clock::now() - lastActive_ >= limits_.idle) {
        dropClient();
    }
    serveRefused();
    return alsoReady;
}

void Server::accept() {
    while (true) {
        sockaddr_storage peer{};
        socklen_t length = sizeof peer;
        const int fd = ::accept4(listener_, reinterpret_cast<sockaddr*>(&peer), &length,
                                 SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            return;
        }
        if (client_ >= 0) {
            readClient();  // a client that has just left makes room
        }
        if (client_ < 0) {
            client_ = fd;
            clientName_ = nameOf(peer);
            const int on = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            framer_ = LineFramer(limits_.line);
            output_.clear();
            lastActive_ = Clock::now();
            continue;
        }
        const std::string text = busyText(clientName_);
        ::send(fd, text.data(), text.size(), MSG_NOSIGNAL);
        ::shutdown(fd, SHUT_WR);
        if (refused_.size() >= kMaxRefused) {
            ::close(refused_.front().fd);
            refused_.erase(refused_.begin());
        }
        refused_.push_back({fd, Clock::now() + kRefusedLinger});
    }
}

// Refused clients' input is read and thrown away until they close or their time is up, so that
// their line is not lost to a reset.
void Server::serveRefused() {
    std::array<char, 4096> sink{};
    const auto now = Clock::now();
    std::erase_if(refused_, [&](const Refused& r) {
        while (true) {
            const ssize_t n = ::recv(r.fd, sink.data(), sink.size(), 0);
            if (n > 0) {
                continue;
            }
            const bool open = n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
            if (open && now < r.until) {
                return false;
            }
            ::close(r.fd);
            return true;
        }
    });
}

void Server::readClient() {
    std::string buffer(kReadChunk, '\0');
    while (client_ >= 0) {
        const ssize_t n = ::recv(client_, buffer.data(), buffer.size(), 0);
        if (n > 0) {
            lastActive_ = Clock::now();
            framer_.feed(std::span<const char>(buffer.data(), static_cast<std::size_t>(n)));
            while (std::optional<LineFramer::Item> item = framer_.next()) {
                engine_.take(std::move(*item));
            }
            if (engine_.queuedBytes() >= limits_.backlog) {
                return;
            }
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            return;
        }
        dropClient();  // closed, or the connection failed
    }
}

void Server::writeClient() {
    while (client_ >= 0 && !output_.empty()) {
        const ssize_t n = ::send(client_, output_.data(), output_.size(), MSG_NOSIGNAL);
        if (n > 0) {
            output_.erase(0, static_cast<std::size_t>(n));
            lastActive_ = Clock::now();
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            return;
        }
        dropClient();  // the client went away in the middle of a reply
    }
}

void Server::dropClient() {
    if (client_ >= 0) {
        ::close(client_);
    }
    client_ = -1;
    clientName_.clear();
    output_.clear();
    output_.shrink_to_fit();
    framer_ = LineFramer(limits_.line);
    engine_.clientLeft();
}

void Server::work() {
    if (client_ < 0 || output_.size() >= limits_.backlog) {
        return;
    }
    output_ += engine_.work();
    if (!output_.empty()) {
        writeClient();
    }
}

}  // namespace tunx::remote
