// mutter_screencast CONNECTOR OUT.png: a picture of what the monitor shows,
// through Mutter's ScreenCast interface on the session bus and PipeWire:
// records the monitor, then has gst-launch-1.0's pipewiresrc take its first
// frame. Mutter ends the recording when this
// process leaves the bus. Exits 1 with the reason when it cannot.
#include <spawn.h>
#include <sys/wait.h>
#include <systemd/sd-bus.h>

#include <chrono>
#include <cstdio>
#include <string>

extern char** environ;

namespace {

constexpr char ScreenCastName[] = "org.gnome.Mutter.ScreenCast";
constexpr char ScreenCastPath[] = "/org/gnome/Mutter/ScreenCast";
constexpr char SessionInterface[] = "org.gnome.Mutter.ScreenCast.Session";
constexpr char StreamInterface[] = "org.gnome.Mutter.ScreenCast.Stream";
// A still monitor sends a frame at the start and then only when it changes.
constexpr char FramesTaken[] = "num-buffers=1";
constexpr int NodeWaitSeconds = 10;

int Fail(const std::string& why, const sd_bus_error* error = nullptr) {
  std::fprintf(stderr, "mutter_screencast: %s%s%s\n", why.c_str(), error != nullptr && error->message ? ": " : "",
               error != nullptr && error->message ? error->message : "");
  return 1;
}

int StreamAdded(sd_bus_message* message, void* data, sd_bus_error*) {
  sd_bus_message_read(message, "u", static_cast<uint32_t*>(data));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return Fail("usage: mutter_screencast CONNECTOR OUT.png");
  sd_bus* bus = nullptr;
  if (sd_bus_open_user(&bus) < 0) return Fail("no session bus");
  sd_bus_error error = SD_BUS_ERROR_NULL;
  sd_bus_message* reply = nullptr;
  const char* path = nullptr;
  if (sd_bus_call_method(bus, ScreenCastName, ScreenCastPath, ScreenCastName, "CreateSession", &error, &reply,
                         "a{sv}", 0) < 0 ||
      sd_bus_message_read(reply, "o", &path) <= 0)
    return Fail("CreateSession", &error);
  const std::string session = path;
  reply = sd_bus_message_unref(reply);
  if (sd_bus_call_method(bus, ScreenCastName, session.c_str(), SessionInterface, "RecordMonitor", &error, &reply,
                         "sa{sv}", argv[1], 0) < 0 ||
      sd_bus_message_read(reply, "o", &path) <= 0)
    return Fail("RecordMonitor", &error);
  const std::string stream = path;
  reply = sd_bus_message_unref(reply);
  uint32_t node = 0;
  if (sd_bus_match_signal(bus, nullptr, ScreenCastName, stream.c_str(), StreamInterface, "PipeWireStreamAdded",
                          StreamAdded, &node) < 0)
    return Fail("no match for PipeWireStreamAdded");
  if (sd_bus_call_method(bus, ScreenCastName, session.c_str(), SessionInterface, "Start", &error, nullptr, "") < 0)
    return Fail("Start", &error);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(NodeWaitSeconds);
  while (node == 0 && std::chrono::steady_clock::now() < deadline)
    if (sd_bus_process(bus, nullptr) == 0) sd_bus_wait(bus, 100000);
  if (node == 0) return Fail("Mutter announced no PipeWire stream");

  const std::string target = "path=" + std::to_string(node);
  const std::string location = std::string("location=") + argv[2];
  // RGB without the stream's padding byte, which a picture would take for alpha.
  const char* command[] = {"gst-launch-1.0", "-q", "pipewiresrc", target.c_str(), FramesTaken, "!", "videoconvert",
                           "!", "video/x-raw,format=RGB", "!", "pngenc", "snapshot=false", "!", "multifilesink",
                           location.c_str(), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, command[0], nullptr, nullptr, const_cast<char**>(command), environ) != 0)
    return Fail("gst-launch-1.0 cannot be started");
  int status = 0;
  waitpid(pid, &status, 0);
  sd_bus_call_method(bus, ScreenCastName, session.c_str(), SessionInterface, "Stop", nullptr, nullptr, "");
  sd_bus_flush_close_unref(bus);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return Fail("gst-launch-1.0 took no picture");
  return 0;
}
