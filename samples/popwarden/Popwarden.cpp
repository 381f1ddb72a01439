// The pop-out helper: asks the window manager to restore every minimized window whose
// title names the flight simulator, then ends. Run without arguments; without a display
// or a window manager that lists its windows it does nothing.
//
// A title names the simulator when, with everything but letters dropped and letters in
// lower case, it holds "xplane", the simulator the pop-out settings are named after.
#include <xcb/xcb.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* r =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
  const xcb_atom_t a = r ? r->atom : XCB_ATOM_NONE;
  std::free(r);
  return a;
}

// Any type is taken: window managers write these lists as WINDOW, ATOM or CARDINAL.
std::vector<uint8_t> property(xcb_connection_t* c, xcb_window_t w, xcb_atom_t prop) {
  std::vector<uint8_t> out;
  xcb_get_property_reply_t* r =
      xcb_get_property_reply(c, xcb_get_property(c, 0, w, prop, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 16), nullptr);
  if (r != nullptr) {
    const auto* data = static_cast<const uint8_t*>(xcb_get_property_value(r));
    out.assign(data, data + xcb_get_property_value_length(r));
    std::free(r);
  }
  return out;
}

std::vector<uint32_t> words(const std::vector<uint8_t>& bytes) {
  std::vector<uint32_t> out(bytes.size() / 4);
  if (!out.empty()) std::memcpy(out.data(), bytes.data(), out.size() * 4);
  return out;
}

bool namesSimulator(const std::vector<uint8_t>& title) {
  std::string letters;
  for (uint8_t ch : title)
    if (std::isalpha(ch)) letters += static_cast<char>(std::tolower(ch));
  return letters.find("xplane") != std::string::npos;
}

}  // namespace

int main() {
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) {
    xcb_disconnect(c);
    return 0;
  }
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  const xcb_atom_t clientList = atom(c, "_NET_CLIENT_LIST");
  const xcb_atom_t wmName = atom(c, "_NET_WM_NAME");
  const xcb_atom_t wmState = atom(c, "_NET_WM_STATE");
  const xcb_atom_t hidden = atom(c, "_NET_WM_STATE_HIDDEN");
  const xcb_atom_t active = atom(c, "_NET_ACTIVE_WINDOW");

  for (xcb_window_t w : words(property(c, root, clientList))) {
    std::vector<uint8_t> title = property(c, w, wmName);
    if (title.empty()) title = property(c, w, XCB_ATOM_WM_NAME);
    if (!namesSimulator(title)) continue;
    bool minimized = false;
    for (uint32_t s : words(property(c, w, wmState))) minimized |= s == hidden;
    if (!minimized) continue;
    // Restoring is asking the window manager to activate the window, as a pager does.
    xcb_client_message_event_t ev{};
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = w;
    ev.type = active;
    ev.data.data32[0] = 2;
    ev.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&ev));
  }
  xcb_flush(c);
  xcb_disconnect(c);
  return 0;
}
