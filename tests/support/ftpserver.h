#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <utility>

// A small FTP server on 127.0.0.1 that serves the files of a folder to an anonymous client,
// one control connection at a time, in passive mode (EPSV or PASV): USER, PASS, PWD, CWD,
// TYPE, SIZE, RETR and QUIT, as curl fetches a file.
class TestFtpServer {
public:
    explicit TestFtpServer(std::filesystem::path root) : root_(std::move(root)) {
        listen_ = listenOnLoopback(port_);
        thread_ = std::thread([this] { serve(); });
    }
    ~TestFtpServer() {
        ::shutdown(listen_, SHUT_RDWR);
        ::close(listen_);
        thread_.join();
    }
    TestFtpServer(const TestFtpServer&) = delete;
    TestFtpServer& operator=(const TestFtpServer&) = delete;

    std::string address() const { return "ftp://127.0.0.1:" + std::to_string(port_); }

private:
    static int listenOnLoopback(int& port) {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(fd, 4);
        socklen_t length = sizeof addr;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &length);
        port = ntohs(addr.sin_port);
        return fd;
    }

    static void sendAll(int fd, const std::string& bytes) {
        for (std::size_t sent = 0; sent < bytes.size();) {
            const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (n <= 0)
                return;
            sent += static_cast<std::size_t>(n);
        }
    }
    static void say(int fd, const std::string& line) { sendAll(fd, line + "\r\n"); }

    void serve() {
        for (int client; (client = ::accept(listen_, nullptr, nullptr)) >= 0; ::close(client))
            session(client);
    }

    // The folder the client is in, below the root ("" or "a/b").
    std::filesystem::path at(const std::string& cwd, const std::string& name) const {
        return name.starts_with('/') ? root_ / name.substr(1) : root_ / cwd / name;
    }

    void session(int client) {
        std::string cwd, pending;
        int data = -1;
        say(client, "220 test server");
        char buffer[512];
        for (ssize_t n; (n = ::recv(client, buffer, sizeof buffer, 0)) > 0;) {
            pending.append(buffer, static_cast<std::size_t>(n));
            for (std::size_t end; (end = pending.find("\r\n")) != std::string::npos;) {
                const std::string line = pending.substr(0, end);
                pending.erase(0, end + 2);
                const std::string verb = line.substr(0, line.find(' '));
                const std::string arg =
                    line.size() > verb.size() ? line.substr(verb.size() + 1) : "";
                std::error_code ec;
                if (verb == "USER")
                    say(client, "331 any password");
                else if (verb == "PASS")
                    say(client, "230 logged in");
                else if (verb == "PWD")
                    say(client, "257 \"/" + cwd + "\"");
                else if (verb == "CWD" && std::filesystem::is_directory(at(cwd, arg), ec)) {
                    cwd =
                        std::filesystem::relative(at(cwd, arg), root_).lexically_normal().string();
                    if (cwd == ".")
                        cwd.clear();
                    say(client, "250 ok");
                } else if (verb == "TYPE")
                    say(client, "200 ok");
                else if (verb == "EPSV" || verb == "PASV") {
                    if (data >= 0)
                        ::close(data);
                    int port = 0;
                    data = listenOnLoopback(port);
                    say(client, verb == "EPSV"
                                    ? "229 passive (|||" + std::to_string(port) + "|)"
                                    : "227 passive (127,0,0,1," + std::to_string(port / 256) + "," +
                                          std::to_string(port % 256) + ")");
                } else if (verb == "SIZE" && std::filesystem::is_regular_file(at(cwd, arg), ec))
                    say(client, "213 " + std::to_string(std::filesystem::file_size(at(cwd, arg))));
                else if (verb == "RETR" && data >= 0 &&
                         std::filesystem::is_regular_file(at(cwd, arg), ec)) {
                    say(client, "150 sending");
                    std::ifstream in(at(cwd, arg), std::ios::binary);
                    const std::string body{std::istreambuf_iterator<char>(in), {}};
                    const int transfer = ::accept(data, nullptr, nullptr);
                    sendAll(transfer, body);
                    ::close(transfer);
                    ::close(std::exchange(data, -1));
                    say(client, "226 done");
                } else if (verb == "CWD" || verb == "SIZE" || verb == "RETR")
                    say(client, "550 no such file or folder");
                else if (verb == "QUIT")
                    say(client, "221 bye");
                else
                    say(client, "502 not here");
            }
        }
        if (data >= 0)
            ::close(data);
    }

    std::filesystem::path root_;
    int listen_ = -1;
    int port_ = 0;
    std::thread thread_;
};
