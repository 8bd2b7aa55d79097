// fxt-language-server: the template checks as a Language Server Protocol
// server on standard input and output, for any editor with an LSP client.
#include <poll.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
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

// The signals by which an editor or a terminal ends the server. They are
// held back while a message is read and handled, and let in only while the
// server waits for the next one. The server then ends as at the end of its
// input, its pages removed, and then by the signal itself, as its parent
// expects. A signal ignored when the server started stays ignored.
constexpr std::array kEndingSignals = {SIGTERM, SIGINT, SIGHUP};
volatile sig_atomic_t endingSignal = 0;

extern "C" void NoteEndingSignal(int signal) { endingSignal = signal; }

// Holds the ending signals back and catches them; the signal mask to wait in.
sigset_t CatchEndingSignals() {
  sigset_t ending;
  sigemptyset(&ending);
  for (const int signal : kEndingSignals) {
    struct sigaction current {};
    if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler != SIG_IGN) {
      sigaddset(&ending, signal);
    }
  }
  sigset_t waiting;
  sigprocmask(SIG_BLOCK, &ending, &waiting);
  struct sigaction noting {};
  noting.sa_handler = NoteEndingSignal;
  sigemptyset(&noting.sa_mask);
  for (const int signal : kEndingSignals) {
    if (sigismember(&ending, signal) == 1) sigaction(signal, &noting, nullptr);
  }
  // A client gone is a write that fails, which the server reports.
  std::signal(SIGPIPE, SIG_IGN);
  return waiting;
}

// Waits until input can be read, or its end; false when an ending signal
// came first.
bool WaitForInput(const sigset_t& waiting) {
  pollfd input{fileno(stdin), POLLIN, 0};
  while (ppoll(&input, 1, nullptr, &waiting) < 0) {
    if (endingSignal != 0) return false;
    if (errno != EINTR) break;  // the read that follows meets the fault
  }
  return true;
}

// Ends the process by the signal that ended the server.
[[noreturn]] void EndBySignal(int signal) {
  std::fflush(nullptr);
  std::signal(signal, SIG_DFL);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, signal);
  sigprocmask(SIG_UNBLOCK, &only, nullptr);
  raise(signal);
  std::_Exit(128 + signal);
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

  // Whether a message read while another was handled waits to be taken.
  bool HoldsARead() const { return stopped_.has_value(); }

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
  const sigset_t waiting = CatchEndingSignals();
  fxt::lsp::Server server;
  StandardConnection connection;
  server.Attach(&connection);
  std::string body;
  for (;;) {
    if (!connection.HoldsARead() && !WaitForInput(waiting)) return 1;
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
    const int status = RunServer(argc, argv);
    if (endingSignal != 0) EndBySignal(endingSignal);
    return status;
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "fxt-language-server: out of memory\n");
  } catch (const std::exception& error) {
    std::fprintf(stderr, "fxt-language-server: %s\n", error.what());
  }
  return 1;
}
