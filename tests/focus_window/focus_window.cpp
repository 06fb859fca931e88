// norvane-focus-window [TITLE]: maps one window on $DISPLAY with its process id in _NET_WM_PID, prints
// "window <id>" on stdout and lives until it is ended or its display goes.
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

xcb_atom_t Intern(xcb_connection_t* connection, const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
  const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  std::free(reply);
  return atom;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string title = argc > 1 ? argv[1] : "norvane focus window";
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection)) {
    std::fprintf(stderr, "norvane-focus-window: no X display\n");
    return 1;
  }
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
  const xcb_window_t window = xcb_generate_id(connection);
  const std::uint32_t values[] = {screen->white_pixel, XCB_EVENT_MASK_STRUCTURE_NOTIFY};
  xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 10, 10, 240, 120, 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                      static_cast<std::uint32_t>(title.size()), title.data());
  const std::uint32_t pid = static_cast<std::uint32_t>(getpid());
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, Intern(connection, "_NET_WM_PID"), XCB_ATOM_CARDINAL,
                      32, 1, &pid);
  xcb_map_window(connection, window);
  xcb_flush(connection);
  std::printf("window %u\n", window);
  std::fflush(stdout);
  while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) std::free(event);
  xcb_disconnect(connection);
  return 0;
}
