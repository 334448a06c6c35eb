// Tonewatch holding a wlroots desktop's gamma controls, against the stand-in
// compositor in this process: it takes them when the compositor comes late,
// asks again for an output another program held, releases the outputs that
// go, and stays within its descriptors whatever a peer sends.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <sstream>
#include <thread>

#include "loader/linux/gamma_wire.h"
#include "platform/wayland/wlr_gamma_controls.h"
#include "tests/loader_linux/loader_folder.h"
#include "tests/platform/wayland/stand_in_compositor.h"

namespace {

constexpr char Socket[] = "wayland-holder";
constexpr uint32_t TableSize = 256;

std::vector<std::string> OpenDescriptors(pid_t pid) {
  std::vector<std::string> names;
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ignored))
    names.push_back(entry.path().filename().string());
  return names;
}

// User and system time of a process, in clock ticks.
long CpuTicks(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::istringstream fields(text.substr(text.rfind(')') + 2));
  std::string skipped;
  for (int i = 0; i < 11; ++i) fields >> skipped;  // state .. cmajflt
  long user = 0, system = 0;
  fields >> user >> system;
  return user + system;
}

class GammaHolder : public testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_RUNTIME_DIR", folder_.RuntimeFolder().c_str(), 1);
    setenv("WAYLAND_DISPLAY", Socket, 1);
    folder_.SetVariable("WAYLAND_DISPLAY", Socket);
  }
  void TearDown() override {
    compositor_.reset();
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("XDG_RUNTIME_DIR");
  }

  void StartCompositor() {
    compositor_.emplace(Socket, StandInOutputsOf("DP-1:256,DP-2:256"), TGammaControl::RefuseSecond, 0,
                        [this](const std::string& line) {
                          std::lock_guard<std::mutex> hold(notes_);
                          if (!line.starts_with("set ")) lines_.push_back(line);
                        });
  }

  size_t Count(const std::string& line) {
    std::lock_guard<std::mutex> hold(notes_);
    return static_cast<size_t>(std::count(lines_.begin(), lines_.end(), line));
  }

  // A loader holding both outputs, its own launch at start made.
  LoaderProcess StartHoldingLoader() {
    LoaderProcess loader = folder_.Start({"/delay", "60"});
    EXPECT_TRUE(WaitUntil(5, [this] { return compositor_->Held("DP-1") && compositor_->Held("DP-2"); }));
    EXPECT_TRUE(WaitUntil(5, [this] { return std::filesystem::exists(folder_.RuntimeFile(GammaSocketName)); }));
    // The launch at start has ended, and the loader has seen it end.
    EXPECT_TRUE(folder_.WaitForStarts(1, 5));
    EXPECT_TRUE(folder_.WaitForTonemarksToEnd(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return loader;
  }

  int Connect() {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = folder_.RuntimeFile(GammaSocketName);
    std::memcpy(address.sun_path, path.c_str(), path.size());
    int connection = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    EXPECT_EQ(connect(connection, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    return connection;
  }

  LoaderFolder folder_;
  std::mutex notes_;
  std::vector<std::string> lines_;
  std::optional<StandInCompositor> compositor_;
};

// One request about `output` with `files` attached, and its answer; false
// when none came.
bool Ask(int connection, char kind, const std::vector<int>& files, TGammaAnswer& answer,
         const char* output = "DP-1") {
  TGammaRequest request{};
  request.Kind = kind;
  std::strcpy(request.Output, output);
  iovec bytes = {&request, sizeof request};
  alignas(cmsghdr) char control[CMSG_SPACE(2 * sizeof(int))] = {};
  msghdr message = {};
  message.msg_iov = &bytes;
  message.msg_iovlen = 1;
  if (!files.empty()) {
    message.msg_control = control;
    message.msg_controllen = CMSG_SPACE(files.size() * sizeof(int));
    cmsghdr* attached = CMSG_FIRSTHDR(&message);
    attached->cmsg_level = SOL_SOCKET;
    attached->cmsg_type = SCM_RIGHTS;
    attached->cmsg_len = CMSG_LEN(files.size() * sizeof(int));
    std::memcpy(CMSG_DATA(attached), files.data(), files.size() * sizeof(int));
  }
  if (sendmsg(connection, &message, MSG_NOSIGNAL) != static_cast<ssize_t>(sizeof request)) return false;
  pollfd readable = {connection, POLLIN, 0};
  int carried = -1;
  if (poll(&readable, 1, 3000) != 1 || !ReceiveWithFile(connection, &answer, sizeof answer, carried)) return false;
  if (carried >= 0) close(carried);
  return true;
}

TEST_F(GammaHolder, StartedBeforeTheCompositorTakesTheOutputsOnceItAnswersAndLoadsThem) {
  LoaderProcess loader = folder_.Start({"/delay", "60"});
  ASSERT_TRUE(folder_.WaitForStarts(1, 5));
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  StartCompositor();
  EXPECT_TRUE(WaitUntil(10, [this] { return compositor_->Held("DP-1") && compositor_->Held("DP-2"); }));
  EXPECT_TRUE(WaitUntil(1, [this] { return std::filesystem::exists(folder_.RuntimeFile(GammaSocketName)); }));
  EXPECT_TRUE(folder_.WaitForStarts(2, 5));
}

TEST_F(GammaHolder, AsksAgainForAnOutputAnotherProgramHeldUntilItHasItAndThenLoadsIt) {
  StartCompositor();
  auto other = std::make_unique<TWlrGammaControls>();
  ASSERT_EQ(other->Refresh(), "");
  std::string refusal;
  ASSERT_EQ(other->TableSize("DP-1", refusal), TableSize);
  LoaderProcess loader = folder_.Start({"/delay", "60"});
  ASSERT_TRUE(WaitUntil(5, [this] { return Count("refused DP-1") == 1 && Count("held DP-2") == 1; }));
  ASSERT_TRUE(folder_.WaitForStarts(1, 5));
  other.reset();
  ASSERT_TRUE(WaitUntil(3, [this] { return Count("restored DP-1") == 1; }));
  EXPECT_TRUE(WaitUntil(8, [this] { return Count("held DP-1") == 2; }));
  EXPECT_TRUE(folder_.WaitForStarts(2, 5));
}

TEST_F(GammaHolder, ReleasesAnOutputThatGoes) {
  StartCompositor();
  LoaderProcess loader = StartHoldingLoader();
  compositor_->RemoveOutput("DP-2");
  EXPECT_TRUE(WaitUntil(3, [this] { return Count("released DP-2") == 1; }));
}

TEST_F(GammaHolder, ClosesEveryDescriptorThatARequestBringsAndItDoesNotKeep) {
  StartCompositor();
  LoaderProcess loader = StartHoldingLoader();
  const size_t before = OpenDescriptors(loader.Pid()).size();
  const int table = memfd_create("table", MFD_CLOEXEC);
  ASSERT_EQ(ftruncate(table, 3 * TableSize * sizeof(uint16_t)), 0);
  const int connection = Connect();
  TGammaAnswer answer{};
  for (int i = 0; i < 20; ++i) {
    ASSERT_TRUE(Ask(connection, 'S', {table}, answer));
    ASSERT_TRUE(Ask(connection, 'G', {table}, answer));
    ASSERT_TRUE(Ask(connection, 'T', {table, table}, answer));
    ASSERT_EQ(answer.Status, GammaHeld);
  }
  // The table shown is kept, and goes when the session below ends.
  ASSERT_TRUE(Ask(connection, 'R', {table}, answer));
  close(connection);
  close(table);
  ASSERT_TRUE(WaitUntil(5, [this] { return Count("held DP-1") == 2; }));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(OpenDescriptors(loader.Pid()).size(), before);
}

// A calibration window open when the loader starts holds its launch back,
// and then has the outputs handed to it.
TEST_F(GammaHolder, ARunHeldBackWhileASessionHasTheOutputsWaitsIdleAndComesWhenTheSessionEnds) {
  StartCompositor();
  const int sessionLock = open(folder_.RuntimeFile("Orvana.Tonemark.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  ASSERT_EQ(flock(sessionLock, LOCK_EX), 0);
  LoaderProcess loader = folder_.Start({"/delay", "60"});
  ASSERT_TRUE(WaitUntil(5, [this] { return compositor_->Held("DP-1") && compositor_->Held("DP-2"); }));
  ASSERT_TRUE(WaitUntil(5, [this] { return std::filesystem::exists(folder_.RuntimeFile(GammaSocketName)); }));
  const int session = Connect();
  TGammaAnswer answer{};
  ASSERT_TRUE(Ask(session, 'R', {}, answer));
  // The loader looks at the session again within 2.25 s of its start.
  std::this_thread::sleep_for(std::chrono::milliseconds(2500));
  const long ticks = CpuTicks(loader.Pid());
  std::this_thread::sleep_for(std::chrono::seconds(2));
  EXPECT_LT(CpuTicks(loader.Pid()) - ticks, 10);
  EXPECT_EQ(folder_.Starts().size(), 0u);

  close(sessionLock);
  close(session);
  EXPECT_TRUE(folder_.WaitForStarts(1, 5));
  EXPECT_TRUE(compositor_->Held("DP-1"));
}

TEST_F(GammaHolder, RefusesATableOfAnotherSizeThanTheOutputs) {
  StartCompositor();
  LoaderProcess loader = StartHoldingLoader();
  const int table = memfd_create("table", MFD_CLOEXEC);
  ASSERT_EQ(ftruncate(table, 3 * 1024 * sizeof(uint16_t)), 0);
  const int connection = Connect();
  TGammaAnswer answer{};
  ASSERT_TRUE(Ask(connection, 'T', {table}, answer));
  EXPECT_EQ(answer.Status, GammaRefused);
  EXPECT_TRUE(compositor_->Shown("DP-1").empty());
  close(connection);
  close(table);
}

TEST_F(GammaHolder, AFullDescriptorTableNeitherSpinsTheLoaderNorStopsItForGood) {
  StartCompositor();
  LoaderProcess loader = StartHoldingLoader();
  // Every client's place taken, a table kept for each output: past the 16
  // descriptors that the loader polls, below which poll itself would fail.
  std::vector<int> clients;
  const int table = memfd_create("table", MFD_CLOEXEC);
  ASSERT_EQ(ftruncate(table, 3 * TableSize * sizeof(uint16_t)), 0);
  TGammaAnswer answer{};
  for (int i = 0; i < 4; ++i) {
    clients.push_back(Connect());
    ASSERT_TRUE(Ask(clients.back(), 'S', {}, answer));
  }
  ASSERT_TRUE(Ask(clients[0], 'T', {table}, answer, "DP-1"));
  ASSERT_TRUE(Ask(clients[0], 'T', {table}, answer, "DP-2"));
  close(table);
  const std::vector<std::string> open = OpenDescriptors(loader.Pid());
  rlimit usual;
  ASSERT_EQ(prlimit(loader.Pid(), RLIMIT_NOFILE, nullptr, &usual), 0);
  // The lowest free descriptor is over the limit: every accept fails.
  rlimit full = {0, usual.rlim_max};
  while (std::find(open.begin(), open.end(), std::to_string(full.rlim_cur)) != open.end()) ++full.rlim_cur;
  ASSERT_GE(full.rlim_cur, 16u);
  ASSERT_EQ(prlimit(loader.Pid(), RLIMIT_NOFILE, &full, nullptr), 0);

  const int waiting = Connect();
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const long ticks = CpuTicks(loader.Pid());
  std::this_thread::sleep_for(std::chrono::seconds(1));
  EXPECT_LT(CpuTicks(loader.Pid()) - ticks, 10);

  // A client that leaves frees a descriptor and a place: the one waiting has them.
  close(clients.back());
  clients.pop_back();
  EXPECT_TRUE(Ask(waiting, 'S', {}, answer));
  EXPECT_EQ(answer.Status, GammaHeld);
  for (int client : clients) close(client);
  close(waiting);
}

}  // namespace
