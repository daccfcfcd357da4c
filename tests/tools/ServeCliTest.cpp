// The phone service as a phone meets it: tavimrok-cli serve on loopback, spoken to over HTTP.

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <nlohmann/json.hpp>
#include <thread>

#include "CliRun.h"

namespace kzm {
namespace {

using nlohmann::json;
using test::TRun;

int FreePort() {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof a;
  (void)::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
  (void)::getsockname(s, reinterpret_cast<sockaddr*>(&a), &length);
  ::close(s);
  return ntohs(a.sin_port);
}

// A running serve: started with its stdout on a pipe, stopped with SIGTERM at the end.
class TServe {
 public:
  TServe(const std::string& data, const std::string& state, int port) {
    int out[2];
    EXPECT_EQ(::pipe(out), 0);
    m_pid = ::fork();
    if (m_pid == 0) {
      ::dup2(out[1], 1);
      ::setenv("XDG_STATE_HOME", state.c_str(), 1);
      const std::string cli = test::BinDir() + "/tavimrok-cli";
      const std::string listen = "127.0.0.1:" + std::to_string(port);
      ::execl(cli.c_str(), cli.c_str(), "--data-folder", data.c_str(), "serve", "家計簿", "--listen", listen.c_str(), nullptr);
      ::_exit(127);
    }
    ::close(out[1]);
    m_out = ::fdopen(out[0], "r");
  }
  ~TServe() {
    if (m_pid > 0) (void)Stop();
    if (m_out) std::fclose(m_out);
  }
  std::string Line() {
    char buffer[1024] = {};
    return std::fgets(buffer, sizeof buffer, m_out) ? std::string(buffer) : std::string();
  }
  int Stop() {
    ::kill(m_pid, SIGTERM);
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    m_pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t m_pid = -1;
  FILE* m_out = nullptr;
};

class ServeCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(test::RunCli({"demo", data, "--years", "1", "--seed", "4", "--until", "202412"}, temp).code, 0);
  }
  httplib::Headers With(const std::string& key) { return {{"Authorization", "Bearer " + key}}; }

  test::TTempFolder temp;
  std::string data = temp.File("data");
  int port = FreePort();
};

TEST_F(ServeCliTest, APhonePairsAndItsEntriesLandOnce) {
  TServe serve(data, temp.File("state"), port);
  const auto first = test::Split(serve.Line(), '\t');
  ASSERT_EQ(first.size(), 4u);
  EXPECT_EQ(first[0], "待ち受け");
  EXPECT_EQ(first[1], "http://127.0.0.1:" + std::to_string(port) + "/");
  EXPECT_EQ(first[2], "ペアリングコード");
  httplib::Client phone("127.0.0.1", port);
  const auto page = phone.Get("/");
  ASSERT_TRUE(page);
  EXPECT_LT(page->body.size(), 60u * 1024);
  EXPECT_NE(page->body.find("記入"), std::string::npos);

  const std::string code = first[3].substr(0, 6);
  EXPECT_EQ(phone.Post("/api/pair", json{{"code", "000000x"}}.dump(), "application/json")->status, 403);
  const auto paired = phone.Post("/api/pair", json{{"code", code}, {"device", "花子のスマホ"}}.dump(), "application/json");
  ASSERT_EQ(paired->status, 200);
  const std::string key = json::parse(paired->body)["key"];
  EXPECT_EQ(phone.Post("/api/pair", json{{"code", code}}.dump(), "application/json")->status, 403);  // used

  const json entry{{"id", "p-1"}, {"date", "2024-12-10"}, {"category", "食費"}, {"amount", "298*3"}, {"item", "スマホのパン"}};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(phone.Post("/api/entries", With(key), entry.dump(), "application/json")->status, i ? 200 : 201);
  EXPECT_EQ(phone.Get("/api/categories")->status, 401);
  EXPECT_EQ(phone.Post("/api/entries", With(key), "{", "application/json")->status, 400);
  EXPECT_EQ(phone.Post("/api/entries", With(key), std::string(70000, ' '), "application/json")->status, 413);
  EXPECT_EQ(serve.Line(), "ペアリング\t花子のスマホ\n");
  EXPECT_EQ(serve.Line(), "記入\t花子のスマホ\t2024-12-10\t食費\t894\n");

  // The passbook has it, once, while the service still runs; and after it stopped cleanly.
  const TRun found = test::RunCli({"--data-folder", data, "search", "家計簿", "--item", "スマホのパン"}, temp);
  EXPECT_EQ(found.out, "2024/12/10,食費,スマホのパン,894,現金,\n") << found.err;
  EXPECT_EQ(serve.Stop(), 0);
  EXPECT_EQ(test::RunCli({"--data-folder", data, "search", "家計簿", "--item", "スマホのパン"}, temp).out, found.out);
}

TEST_F(ServeCliTest, ASlowClientHoldsNobodyUpAndEveryInterfaceIsRefused) {
  const TRun everywhere = test::RunCli({"--data-folder", data, "serve", "家計簿", "--listen", "0.0.0.0:" + std::to_string(port)}, temp);
  EXPECT_EQ(everywhere.code, 1);
  EXPECT_NE(everywhere.err.find("待ち受けられません"), std::string::npos);

  TServe serve(data, temp.File("state"), port);
  ASSERT_FALSE(serve.Line().empty());
  // A byte a second, for longer than a request takes.
  std::thread slow([this] {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) {
      for (const char c : std::string("POST /api/entries")) {
        (void)::send(s, &c, 1, MSG_NOSIGNAL);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
      }
    }
    ::close(s);
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  httplib::Client phone("127.0.0.1", port);
  const auto start = std::chrono::steady_clock::now();
  const auto answer = phone.Get("/api/categories");
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->status, 401);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  int held = 0;
  for (int i = 0; i < 65; ++i) held += phone.Get("/api/categories")->status == 429;
  EXPECT_GE(held, 5);
  slow.join();
  EXPECT_EQ(serve.Stop(), 0);
}

}  // namespace
}  // namespace kzm
