// The real program on a real (virtual) X server: when another program destroys
// its window, the program ends instead of running on without one.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace brevant::test {
namespace {

using namespace std::chrono_literals;

// An Xvfb of its own, on the first free display, gone with this object.
class VirtualDisplay {
 public:
  VirtualDisplay() {
    int numberPipe[2];
    if (pipe(numberPipe) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(numberPipe[0]);
      const std::string fd = std::to_string(numberPipe[1]);
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, STDOUT_FILENO);
      dup2(null, STDERR_FILENO);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0", "800x700x24",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    close(numberPipe[1]);
    char number[16] = {};
    std::size_t got = 0;
    while (got < sizeof number - 1) {
      const ssize_t n = read(numberPipe[0], number + got, sizeof number - 1 - got);
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
      if (std::memchr(number, '\n', got) != nullptr) break;
    }
    close(numberPipe[0]);
    if (got > 0) name_ = ":" + std::to_string(std::atoi(number));
  }
  ~VirtualDisplay() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }
  const std::string& name() const { return name_; }

 private:
  pid_t pid_ = -1;
  std::string name_;
};

// The shown top-level window named "Brevant", or 0.
xcb_window_t ShownBrevantWindow(xcb_connection_t* connection) {
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
  xcb_query_tree_reply_t* tree = xcb_query_tree_reply(connection, xcb_query_tree(connection, root), nullptr);
  if (tree == nullptr) return 0;
  xcb_window_t found = 0;
  const xcb_window_t* children = xcb_query_tree_children(tree);
  for (int i = 0; i < xcb_query_tree_children_length(tree) && found == 0; ++i) {
    xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, children[i]), nullptr);
    const bool shown = attributes != nullptr && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    std::free(attributes);
    if (!shown) continue;
    xcb_get_property_reply_t* name = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, children[i], XCB_ATOM_WM_NAME, XCB_ATOM_ANY, 0, 64),
        nullptr);
    if (name != nullptr &&
        std::string(static_cast<const char*>(xcb_get_property_value(name)),
                    static_cast<std::size_t>(xcb_get_property_value_length(name))) == "Brevant")
      found = children[i];
    std::free(name);
  }
  std::free(tree);
  return found;
}

TEST(WindowDestroyed, TheProgramEndsWhenAnotherProgramDestroysItsWindow) {
  const VirtualDisplay display;
  ASSERT_FALSE(display.name().empty()) << "Xvfb did not start";
  QTemporaryDir home;
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("DISPLAY", QString::fromStdString(display.name()));
  environment.insert("QT_QPA_PLATFORM", "xcb");
  environment.insert("HOME", home.path());
  environment.insert("XDG_CONFIG_HOME", home.path() + "/config");
  // Under the leak checker: the X platform's D-Bus library keeps some memory until the end.
  environment.insert("ASAN_OPTIONS", environment.value("ASAN_OPTIONS") + ":detect_leaks=0");
  program.setProcessEnvironment(environment);
  program.start(BREVANT_WINDOW_PATH, {});
  ASSERT_TRUE(program.waitForStarted());

  xcb_connection_t* connection = xcb_connect(display.name().c_str(), nullptr);
  ASSERT_EQ(xcb_connection_has_error(connection), 0);
  xcb_window_t window = 0;
  for (int i = 0; i < 300 && window == 0 && program.state() == QProcess::Running; ++i) {
    std::this_thread::sleep_for(50ms);
    window = ShownBrevantWindow(connection);
  }
  ASSERT_NE(window, 0u) << "the window never showed";
  EXPECT_EQ(xcb_request_check(connection, xcb_destroy_window_checked(connection, window)), nullptr);
  xcb_disconnect(connection);

  // Far more than it takes; a program that runs on without its window fails here.
  EXPECT_TRUE(program.waitForFinished(20000));
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 0);
  if (program.state() != QProcess::NotRunning) program.kill();
  program.waitForFinished();
}

}  // namespace
}  // namespace brevant::test
