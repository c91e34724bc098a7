#include "monplot/serve/HttpServer.h"

#include <algorithm>
#include <boost/asio/dispatch.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ip/v6_only.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/signal_set.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/strand.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <csignal>
#include <deque>
#include <mutex>
#include <set>
#include <thread>

#include "libs/exception/Error.h"
#include "libs/system/UsableCores.h"

namespace serve {

namespace beast = boost::beast;
namespace http = beast::http;
namespace net = boost::asio;
using tcp = net::ip::tcp;

namespace {
// Event streams are kept alive (and dead ones found) by a comment this often.
constexpr int kHeartbeatSeconds = 15;

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

HttpRequest plainRequest(const http::request<http::string_body>& request) {
    HttpRequest plain;
    plain.method = std::string(request.method_string());
    plain.target = std::string(request.target());
    for (const auto& field : request)
        plain.fields.emplace_back(lower(std::string(field.name_string())),
                                  std::string(field.value()));
    return plain;
}
}  // namespace

class Connection;

// The io_context runs on several threads, so that requests are answered
// side by side; each connection's work is kept to its own strand, and the
// acceptors, the heartbeat and the signals to the server's.
struct HttpServer::Impl {
    explicit Impl(unsigned threadCount) : threads(threadCount), io(static_cast<int>(threadCount)) {}

    unsigned threads;
    net::io_context io;
    net::strand<net::io_context::executor_type> strand{net::make_strand(io)};
    std::vector<std::unique_ptr<tcp::acceptor>> acceptors;
    net::signal_set signals{strand, SIGINT, SIGTERM};
    net::steady_timer heartbeat{strand};
    Handler handler;
    ServerLimits limits;
    bool stopping = false;       // used on the strand
    std::mutex mutex;            // guards open and streams
    std::set<Connection*> open;  // every connection, to close them all on stop
    std::set<std::shared_ptr<Connection>> streams;

    void accept(tcp::acceptor& acceptor);
    void beat();
    // Whether the connection may become an event stream (one more is allowed).
    bool addStream(const std::shared_ptr<Connection>& connection);
    void dropStream(const std::shared_ptr<Connection>& connection);
    std::vector<std::shared_ptr<Connection>> openConnections();
    std::vector<std::shared_ptr<Connection>> openStreams();
};

// One client connection: requests answered in turn, until it becomes an
// event stream, which only ever writes. Its handlers run on its socket's
// strand; other threads reach it through post() and closeSoon().
class Connection : public std::enable_shared_from_this<Connection> {
  public:
    Connection(tcp::socket socket, HttpServer::Impl& server)
        : stream_(std::move(socket)), server_(server) {
        std::lock_guard<std::mutex> lock(server_.mutex);
        server_.open.insert(this);
    }
    ~Connection() {
        std::lock_guard<std::mutex> lock(server_.mutex);
        server_.open.erase(this);
    }

    void start() {
        net::dispatch(stream_.get_executor(), [self = shared_from_this()] { self->readRequest(); });
    }
    void post(std::string text) {
        net::post(stream_.get_executor(),
                  [self = shared_from_this(), text = std::move(text)] { self->send(text); });
    }
    void closeSoon() {
        net::post(stream_.get_executor(), [self = shared_from_this()] { self->close(); });
    }

  private:
    void send(const std::string& text) {
        queue_.push_back(text);
        if (queue_.size() == 1) writeQueued();
    }
    void close() {
        beast::error_code ignored;
        stream_.socket().shutdown(tcp::socket::shutdown_both, ignored);
        stream_.close();
    }

    void readRequest() {
        parser_.emplace();
        parser_->header_limit(static_cast<std::uint32_t>(server_.limits.headerBytes));
        parser_->body_limit(server_.limits.bodyBytes);
        stream_.expires_after(std::chrono::seconds(server_.limits.idleSeconds));
        http::async_read(stream_, buffer_, *parser_,
                         [self = shared_from_this()](beast::error_code error, size_t) {
                             self->onRequest(error);
                         });
    }

    void onRequest(beast::error_code error) {
        if (error == http::error::header_limit)
            return refuse(431, "The request's headers are too large.");
        if (error == http::error::body_limit) return refuse(413, "Requests carry no body here.");
        if (error) return close();
        const http::request<http::string_body>& request = parser_->get();
        HttpResponse response;
        try {
            response = server_.handler(plainRequest(request));
        } catch (const std::exception&) {  // out of memory, say: this request fails, not the server
            return refuse(500, "The request could not be answered.");
        }
        const bool head = request.method() == http::verb::head;
        if (response.eventStream && !head) {
            if (!server_.addStream(shared_from_this()))
                return refuse(503, "Too many event streams are open.");
            return openStream(response);
        }
        answer(response, head, request.keep_alive() && response.status < 400);
    }

    // Answers a request that cannot be handled, and closes the connection.
    void refuse(int status, const std::string& reason) {
        HttpResponse response = textResponse(status, reason);
        addSecurityHeaders(response);
        answer(response, false, false);
    }

    void answer(const HttpResponse& response, bool head, bool keepAlive) {
        auto message = std::make_shared<http::response<http::string_body>>(
            static_cast<http::status>(response.status), 11);
        message->set(http::field::content_type, response.contentType);
        for (const auto& [name, value] : response.fields) message->insert(name, value);
        message->keep_alive(keepAlive);
        if (head) {
            message->content_length(response.body.size());
        } else {
            message->body() = response.body;
            message->prepare_payload();
        }
        http::async_write(
            stream_, *message,
            [self = shared_from_this(), message, keepAlive](beast::error_code error, size_t) {
                if (error || !keepAlive) return self->close();
                self->readRequest();
            });
    }

    // The header by hand: the body has no length, it goes on until closed.
    void openStream(const HttpResponse& response) {
        stream_.expires_never();
        std::string header = "HTTP/1.1 200 OK\r\nContent-Type: " + response.contentType + "\r\n";
        for (const auto& [name, value] : response.fields) header += name + ": " + value + "\r\n";
        send(header + "Connection: close\r\n\r\n" + response.body);
        // A read that ends only when the client goes away.
        stream_.async_read_some(net::buffer(probe_),
                                [self = shared_from_this()](beast::error_code, size_t) {
                                    self->server_.dropStream(self);
                                    self->close();
                                });
    }

    void writeQueued() {
        net::async_write(stream_.socket(), net::buffer(queue_.front()),
                         [self = shared_from_this()](beast::error_code error, size_t) {
                             self->queue_.pop_front();
                             if (error) {
                                 self->server_.dropStream(self);
                                 return self->close();
                             }
                             if (!self->queue_.empty()) self->writeQueued();
                         });
    }

    beast::tcp_stream stream_;
    HttpServer::Impl& server_;
    beast::flat_buffer buffer_;
    std::optional<http::request_parser<http::string_body>> parser_;
    std::deque<std::string> queue_;
    char probe_[64];
};

void HttpServer::Impl::accept(tcp::acceptor& acceptor) {
    // Each connection's socket on a strand of its own.
    acceptor.async_accept(
        net::make_strand(io), [this, &acceptor](beast::error_code error, tcp::socket socket) {
            // A connection accepted as the server stopped is closed; an
            // acceptor closed is not given another accept, which would fail
            // at once, again and again.
            if (stopping || error == net::error::operation_aborted) return;
            if (!error) {
                bool room = false;
                {
                    std::lock_guard<std::mutex> lock(mutex);
                    room = open.size() < limits.connections;
                }
                if (room)
                    std::make_shared<Connection>(std::move(socket), *this)->start();
                else
                    socket.close(error);
            }
            accept(acceptor);
        });
}

void HttpServer::Impl::beat() {
    heartbeat.expires_after(std::chrono::seconds(kHeartbeatSeconds));
    heartbeat.async_wait([this](beast::error_code error) {
        if (error || stopping) return;
        for (const auto& stream : openStreams()) stream->post(": alive\n\n");
        beat();
    });
}

bool HttpServer::Impl::addStream(const std::shared_ptr<Connection>& connection) {
    std::lock_guard<std::mutex> lock(mutex);
    if (streams.size() >= limits.eventStreams) return false;
    streams.insert(connection);
    return true;
}

void HttpServer::Impl::dropStream(const std::shared_ptr<Connection>& connection) {
    std::lock_guard<std::mutex> lock(mutex);
    streams.erase(connection);
}

// Copies taken under the lock and released after it: a connection's last
// owner destroys it, and its destructor takes the lock.
std::vector<std::shared_ptr<Connection>> HttpServer::Impl::openConnections() {
    std::vector<std::shared_ptr<Connection>> alive;
    std::lock_guard<std::mutex> lock(mutex);
    for (Connection* connection : open)
        if (auto owner = connection->weak_from_this().lock()) alive.push_back(std::move(owner));
    return alive;
}

std::vector<std::shared_ptr<Connection>> HttpServer::Impl::openStreams() {
    std::lock_guard<std::mutex> lock(mutex);
    return {streams.begin(), streams.end()};
}

HttpServer::HttpServer(const std::vector<std::string>& addresses, unsigned port, Handler handler,
                       ServerLimits limits)
    : impl_(std::make_shared<Impl>(std::max(2u, owl::usableCores()))) {
    impl_->handler = std::move(handler);
    impl_->limits = limits;
    std::string failure;
    for (const std::string& address : addresses) {
        beast::error_code error;
        const net::ip::address ip = net::ip::make_address(address, error);
        auto acceptor = std::make_unique<tcp::acceptor>(impl_->strand);
        const tcp::endpoint endpoint(ip, static_cast<unsigned short>(port));
        if (!error) acceptor->open(endpoint.protocol(), error);
        if (!error) acceptor->set_option(net::socket_base::reuse_address(true), error);
        if (!error && ip.is_v6()) acceptor->set_option(net::ip::v6_only(true), error);
        if (!error) acceptor->bind(endpoint, error);
        if (!error) acceptor->listen(net::socket_base::max_listen_connections, error);
        if (error) {
            failure += (failure.empty() ? "" : "; ") + address + ": " + error.message();
            continue;
        }
        if (port == 0) port = acceptor->local_endpoint().port();
        impl_->acceptors.push_back(std::move(acceptor));
    }
    if (impl_->acceptors.empty())
        throw owl::internal::error(
            "serve", "HttpServer",
            "Cannot listen on port " + std::to_string(port) + " (" + failure + ").",
            owl::errorFatal);
}

HttpServer::~HttpServer() = default;

unsigned HttpServer::port() const {
    return impl_->acceptors.front()->local_endpoint().port();
}

void HttpServer::run() {
    net::dispatch(impl_->strand, [this] {
        for (auto& acceptor : impl_->acceptors) impl_->accept(*acceptor);
        impl_->signals.async_wait([this](beast::error_code, int) { stop(); });
        impl_->beat();
    });
    std::vector<std::thread> others;
    for (unsigned i = 1; i < impl_->threads; ++i)
        others.emplace_back([impl = impl_] { impl->io.run(); });
    impl_->io.run();
    for (std::thread& thread : others) thread.join();
}

void HttpServer::stop() {
    net::post(impl_->strand, [impl = impl_] {
        impl->stopping = true;
        for (auto& acceptor : impl->acceptors) acceptor->close();
        impl->heartbeat.cancel();
        impl->signals.cancel();
        // Once every connection is closed, run() returns.
        for (const auto& connection : impl->openConnections()) connection->closeSoon();
        std::set<std::shared_ptr<Connection>> streams;  // released after the lock
        std::lock_guard<std::mutex> lock(impl->mutex);
        streams.swap(impl->streams);
    });
}

void HttpServer::broadcast(const std::string& event) {
    net::post(impl_->strand, [impl = impl_, event] {
        for (const auto& stream : impl->openStreams()) stream->post(event);
    });
}

}  // namespace serve
