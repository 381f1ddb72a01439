// vantrel-send: sends one command datagram to the multicast listener, so the program can be
// driven without a flight simulator.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/Settings.h"
#include "net/Datagram.h"
#include "platform/Text.h"
#include "platform/HostPlatform.h"

namespace {

const char* const kUsage =
    "Usage: vantrel-send [--group GROUP] [--port PORT] TEXT\n"
    "\n"
    "Sends TEXT, exactly as given, as one UDP datagram to the multicast group and port the\n"
    "Vantrel command listener joined (TTL 1, multicast loop on).\n"
    "\n"
    "  --group GROUP  multicast group, 224.0.0.0 to 239.255.255.255; default: \"MulticastGroup\"\n"
    "                 of the settings file, else 224.11.5.62\n"
    "  --port PORT    UDP port, 1 to 65535; default: \"ListenPort\" of the settings file,\n"
    "                 else 48000\n"
    "  --help         shows this text\n"
    "\n"
    "Examples:\n"
    "  vantrel-send PNL:C172        the aircraft C172 was loaded (switches panels when\n"
    "                               panel switching is on)\n"
    "  vantrel-send PNL:Start       starts the loaded panel\n"
    "  vantrel-send PNL:Stop        stops the running panel\n"
    "  vantrel-send PNL:Kill        stops the running panel and ends Vantrel\n"
    "  vantrel-send 'PNL:C172|PNL:Start'   several items in one datagram\n";

int fail(const std::string& message) {
  std::fprintf(stderr, "vantrel-send: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
  using namespace vantrel;
  std::vector<std::string> args(argv + 1, argv + argc);
  std::optional<std::string> group, port, text;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (!optionsEnded && (a == "--help" || a == "-h")) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (!optionsEnded && a == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && (a == "--group" || a == "--port")) {
      if (i + 1 >= args.size()) return fail(a + " needs a value\n\n" + kUsage);
      (a == "--group" ? group : port) = args[++i];
    } else if (!optionsEnded && a.rfind("--group=", 0) == 0) {
      group = a.substr(8);
    } else if (!optionsEnded && a.rfind("--port=", 0) == 0) {
      port = a.substr(7);
    } else if (!optionsEnded && a.size() > 1 && a[0] == '-' && a[1] == '-') {
      return fail("unknown option " + a + "\n\n" + kUsage);
    } else if (text) {
      return fail("only one TEXT may be given (quote a text with blanks)\n\n" + std::string(kUsage));
    } else {
      text = a;
    }
  }
  if (!text) return fail(std::string("no TEXT given\n\n") + kUsage);

  HostPlatform platform;
  if (!group || !port) {
    // The main program's settings file: "vantrel.ini" in the data folder; a missing file
    // gives the defaults.
    const std::string dataFolder =
        platform.applicationDataFolder() + "/Quorvane/Dexalune";
    const std::filesystem::path program =
        std::filesystem::path(platform.executablePath()).parent_path() / "vantrel";
    const Settings settings =
        readSettings(settingsFilePath(dataFolder, program.string()), program.parent_path().string());
    if (!group) group = settings.MulticastGroup;
    if (!port) port = settings.ListenPort;
  }

  if (!isMulticastGroup(*group))
    return fail("'" + *group + "' is not a multicast group address (224.0.0.0 to 239.255.255.255)");
  int portNumber = 0;
  if (!tryStrToInt(*port, portNumber) || portNumber < 1 || portNumber > 65535)
    return fail("'" + *port + "' is not a port number (1 to 65535)");
  if (text->size() > kDatagramBufferSize)
    std::fprintf(stderr,
                 "vantrel-send: warning: %zu bytes is more than the %zu the listener takes; it "
                 "will be ignored\n",
                 text->size(), kDatagramBufferSize);

  const std::string problem = platform.sendMulticast(*group, portNumber, *text);
  if (!problem.empty())
    return fail("cannot send to " + *group + ":" + std::to_string(portNumber) + ": " + problem);
  return 0;
}
