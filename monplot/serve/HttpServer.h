#pragma once
// The dashboard's HTTP server: the only code that knows the HTTP library
// (Boost.Beast). It listens on the given addresses, reads each request
// within the limits (header size, connections, event streams, idle time),
// hands it to the handler as an HttpRequest and writes its answer: a
// whole response, or an event stream kept open for broadcast() events.
// HEAD gets the headers of GET. Requests are answered on several threads
// (as many as the process has cores, at least two), so the handler is called
// from several at once; a handler that throws answers 500.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "monplot/serve/HttpMessage.h"

namespace serve {

struct ServerLimits {
    size_t headerBytes = 8192;  // request line and headers: above it, 431
    size_t bodyBytes = 1024;    // a request body is never read further
    size_t connections = 64;    // beyond it new connections are closed at once
    size_t eventStreams = 16;   // beyond it /api/events is 503
    int idleSeconds = 30;       // a connection silent that long is closed
};

class HttpServer {
  public:
    using Handler = std::function<HttpResponse(const HttpRequest&)>;

    // Binds every address (IPv4 or IPv6 literal) at the port; port 0 takes
    // a free port, the same for all addresses. Throws owl::Error when no
    // address can be bound; an address of several that cannot be (no IPv6)
    // is left out.
    HttpServer(const std::vector<std::string>& addresses, unsigned port, Handler handler,
               ServerLimits limits = {});
    ~HttpServer();

    unsigned port() const;
    // Serves until stop(), SIGINT or SIGTERM.
    void run();
    // Both may be called from any thread.
    void stop();
    void broadcast(const std::string& event);

    struct Impl;  // the library's side, in HttpServer.cpp

  private:
    std::shared_ptr<Impl> impl_;
};

}  // namespace serve
