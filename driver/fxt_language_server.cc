// fxt-language-server: the template checks as a Language Server Protocol
// server on standard input and output, for any editor with an LSP client.
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <optional>
#include <string>

#include "lsp/framing.h"
#include "lsp/server.h"
#include "tools/standard_output.h"

namespace {

constexpr const char* kUsage =
    "usage: fxt-language-server [--stdio]\n"
    "Speaks the Language Server Protocol on standard input and output: the\n"
    "problems of fixture templates as they are typed, their outline, hover,\n"
    "completion and definitions. An editor starts it.\n"
    "\n"
    "      --stdio      use standard input and output, as it always does\n"
    "  -h, --help       print this help\n"
    "      --version    print the version\n";

bool Send(const std::string& body) {
  const std::string message = fxt::lsp::Framed(body);
  return std::fwrite(message.data(), 1, message.size(), stdout) == message.size() &&
         std::fflush(stdout) == 0;
}

// Standard input and output as the server's connection. A message read
// while a request is handled goes back to the server; the end of the input
// or a fault found then waits for the main loop.
class StandardConnection : public fxt::lsp::Connection {
 public:
  StandardConnection() : reader_(stdin) {}

  void Send(const std::string& body) override {
    if (!::Send(body)) sendFailed_ = true;
  }

  std::optional<std::string> Waiting() override {
    if (stopped_ || !reader_.InputWaiting()) return std::nullopt;
    std::string body;
    fxt::lsp::ReadResult read = reader_.Read(body);
    if (read.kind == fxt::lsp::ReadResult::Kind::kMessage) return body;
    stopped_ = std::move(read);
    return std::nullopt;
  }

  fxt::lsp::ReadResult Read(std::string& body) {
    if (!stopped_) return reader_.Read(body);
    fxt::lsp::ReadResult read = std::move(*stopped_);
    stopped_.reset();
    return read;
  }

  bool SendFailed() const { return sendFailed_; }

 private:
  fxt::lsp::MessageReader reader_;
  std::optional<fxt::lsp::ReadResult> stopped_;
  bool sendFailed_ = false;
};

int Serve() {
  // Unbuffered, so that a look for waiting input sees all there is.
  std::setvbuf(stdin, nullptr, _IONBF, 0);
  fxt::lsp::Server server;
  StandardConnection connection;
  server.Attach(&connection);
  std::string body;
  for (;;) {
    const fxt::lsp::ReadResult read = connection.Read(body);
    if (read.kind == fxt::lsp::ReadResult::Kind::kEnd) {
      std::fprintf(stderr, "fxt-language-server: the client closed the input\n");
      return server.ExitStatus();
    }
    if (read.kind == fxt::lsp::ReadResult::Kind::kError) {
      std::fprintf(stderr, "fxt-language-server: %s\n", read.problem.c_str());
      return 1;
    }
    if (read.kind == fxt::lsp::ReadResult::Kind::kOutOfMemory) {
      if (!Send(server.OutOfMemoryError())) {
        std::fprintf(stderr, "fxt-language-server: cannot write to the client\n");
        return 1;
      }
      continue;
    }
    for (const std::string& out : server.Handle(body)) {
      if (!connection.SendFailed()) connection.Send(out);
    }
    if (connection.SendFailed()) {
      std::fprintf(stderr, "fxt-language-server: cannot write to the client\n");
      return 1;
    }
    if (server.ExitRequested()) return server.ExitStatus();
  }
}

int RunServer(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      fxt::PrintOut("fxt-language-server %s\n", FXT_VERSION);
      return fxt::CloseStandardOutput("fxt-language-server", 0);
    }
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      fxt::WriteOut(kUsage);
      return fxt::CloseStandardOutput("fxt-language-server", 0);
    }
    if (std::strcmp(argv[i], "--stdio") != 0) {
      std::fprintf(stderr, "fxt-language-server: unknown option %s\n%s", argv[i], kUsage);
      return 2;
    }
  }
  return Serve();
}

}  // namespace

// Whatever escapes a message's handling ends the server with its reason,
// never with an abort.
int main(int argc, char** argv) {
  try {
    return RunServer(argc, argv);
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "fxt-language-server: out of memory\n");
  } catch (const std::exception& error) {
    std::fprintf(stderr, "fxt-language-server: %s\n", error.what());
  }
  return 1;
}
