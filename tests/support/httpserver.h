#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>

// A small HTTP server on 127.0.0.1 that serves the files of a folder, one connection at a
// time. A file may be held after some bytes until release(), or cut short after some bytes
// while its full length was announced.
class TestHttpServer {
public:
    explicit TestHttpServer(std::filesystem::path root) : root_(std::move(root)) {
        listen_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listen_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(listen_, 8);
        socklen_t length = sizeof addr;
        ::getsockname(listen_, reinterpret_cast<sockaddr*>(&addr), &length);
        port_ = ntohs(addr.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~TestHttpServer() { stop(); }
    TestHttpServer(const TestHttpServer&) = delete;
    TestHttpServer& operator=(const TestHttpServer&) = delete;

    std::string address() const { return "http://127.0.0.1:" + std::to_string(port_); }

    void holdAfter(const std::string& path, std::size_t bytes) {
        std::lock_guard lock(mutex_);
        holdPath_ = path;
        holdBytes_ = bytes;
    }
    void cutAfter(const std::string& path, std::size_t bytes) {
        std::lock_guard lock(mutex_);
        cutPath_ = path;
        cutBytes_ = bytes;
    }
    // Blocks until a held file has sent its first part.
    void waitUntilHeld() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return holding_; });
    }
    void release() {
        std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }
    void stop() {
        {
            std::lock_guard lock(mutex_);
            if (stopping_)
                return;
            stopping_ = true;
            changed_.notify_all();
        }
        ::shutdown(listen_, SHUT_RDWR);
        ::close(listen_);
        thread_.join();
    }

private:
    void serve() {
        for (;;) {
            const int client = ::accept(listen_, nullptr, nullptr);
            if (client < 0)
                return;
            answer(client);
            ::close(client);
        }
    }

    static void sendAll(int fd, const char* data, std::size_t size) {
        while (size) {
            const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
            if (n <= 0)
                return;
            data += n;
            size -= static_cast<std::size_t>(n);
        }
    }

    void answer(int client) {
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos) {
            const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
            if (n <= 0)
                return;
            request.append(buffer, static_cast<std::size_t>(n));
        }
        std::istringstream line(request);
        std::string method, path;
        line >> method >> path;
        const std::filesystem::path file = root_ / path.substr(1);
        std::error_code ec;
        if (!std::filesystem::is_regular_file(file, ec)) {
            const std::string notFound =
                "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
            sendAll(client, notFound.data(), notFound.size());
            return;
        }
        std::ifstream in(file, std::ios::binary);
        const std::string body{std::istreambuf_iterator<char>(in), {}};
        const std::string head =
            "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) +
            "\r\nConnection: close\r\n\r\n";
        sendAll(client, head.data(), head.size());
        std::unique_lock lock(mutex_);
        if (path == cutPath_) {
            lock.unlock();
            sendAll(client, body.data(), std::min(cutBytes_, body.size()));
            return;
        }
        if (path == holdPath_) {
            lock.unlock();
            sendAll(client, body.data(), std::min(holdBytes_, body.size()));
            lock.lock();
            holding_ = true;
            changed_.notify_all();
            changed_.wait(lock, [this] { return released_ || stopping_; });
            lock.unlock();
            if (holdBytes_ < body.size())
                sendAll(client, body.data() + holdBytes_, body.size() - holdBytes_);
            return;
        }
        lock.unlock();
        sendAll(client, body.data(), body.size());
    }

    std::filesystem::path root_;
    int listen_ = -1;
    int port_ = 0;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::string holdPath_, cutPath_;
    std::size_t holdBytes_ = 0, cutBytes_ = 0;
    bool holding_ = false, released_ = false, stopping_ = false;
};
