// Platform.h first: <windows.h> defines its ES_ flags as macros.
#include "platform/win32/Win32Platform.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <oleauto.h>
#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/win32/Wide.h"

namespace vantrel {

namespace {

using win32::narrow;
using win32::widen;

// Creation flags of every started program: CREATE_NEW_PROCESS_GROUP | NORMAL_PRIORITY_CLASS.
constexpr DWORD kStartFlags = 0x220;
// How long Start waits, at most, for the processes a killed manager left to be gone.
constexpr DWORD kLeftoverWaitMs = 1000;

std::optional<std::wstring> wideEnvironment(const wchar_t* name) {
  std::wstring value(256, L'\0');
  for (;;) {
    SetLastError(ERROR_SUCCESS);
    const DWORD n = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
    if (n == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::wstring();
    }
    if (n < value.size()) {
      value.resize(n);
      return value;
    }
    value.resize(n);  // n counts the terminating zero when the buffer was too small
  }
}

std::string modulePath(HMODULE module) {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return narrow(buffer.data(), static_cast<int>(n));
    buffer.resize(buffer.size() * 2);
  }
}

std::string imagePath(HANDLE process) {
  std::wstring buffer(32768, L'\0');
  DWORD size = static_cast<DWORD>(buffer.size());
  if (!QueryFullProcessImageNameW(process, 0, buffer.data(), &size)) return {};
  return narrow(buffer.data(), static_cast<int>(size));
}

bool stillRunning(HANDLE process) { return WaitForSingleObject(process, 0) == WAIT_TIMEOUT; }

// Number, creation time and image of a running process; nullopt once it has ended. The
// creation time is in 100 ns units since 1601, so it also tells one boot from the next.
std::optional<ProcessIdentity> identityOf(HANDLE process) {
  if (!stillRunning(process)) return std::nullopt;
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return std::nullopt;
  const std::string program = imagePath(process);
  if (program.empty()) return std::nullopt;
  ProcessIdentity id;
  id.pid = static_cast<std::int64_t>(GetProcessId(process));
  id.startTime = std::to_string((static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime);
  id.program = program;
  return id;
}

// Runs work with the calling thread in the apartment COM wants for the shell's objects;
// a thread of its own so the caller's apartment (the toolkit's) is never touched.
template <typename Work>
void onComThread(Work work) {
  std::thread([&work] {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return;
    work();
    CoUninitialize();
  }).join();
}

}  // namespace

Win32Platform::Win32Platform() {
  WSADATA data;
  winsock_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

Win32Platform::~Win32Platform() {
  std::lock_guard<std::mutex> lock(mutex_);
  for (auto& [handle, process] : children_) CloseHandle(static_cast<HANDLE>(process));
  children_.clear();
  if (winsock_) WSACleanup();
}

std::optional<std::string> Win32Platform::environment(const std::string& name) {
  const auto value = wideEnvironment(widen(name).c_str());
  if (!value) return std::nullopt;
  return narrow(*value);
}

std::string Win32Platform::applicationDataFolder() {
  const auto appData = wideEnvironment(L"APPDATA");
  return appData ? narrow(*appData) : std::string();
}

std::string Win32Platform::executablePath() { return modulePath(nullptr); }

void Win32Platform::sleepMs(int milliseconds) {
  if (milliseconds > 0) Sleep(static_cast<DWORD>(milliseconds));
}

std::int64_t Win32Platform::nowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

ProcessHandle Win32Platform::createProcess(const std::string& commandLine) {
  if (commandLine.find_first_not_of(" \t") == std::string::npos) return 0;
  // CreateProcessW may write into the command line, so it gets a copy of its own.
  std::wstring line = widen(commandLine);
  line.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, kStartFlags, nullptr, nullptr, &startup, &info))
    return 0;
  CloseHandle(info.hThread);
  std::lock_guard<std::mutex> lock(mutex_);
  const ProcessHandle handle = nextHandle_++;
  children_[handle] = info.hProcess;
  return handle;
}

bool Win32Platform::terminateProcess(ProcessHandle handle, std::uint32_t exitCode) {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto it = children_.find(handle);
  if (it == children_.end()) return false;
  const HANDLE process = static_cast<HANDLE>(it->second);
  if (!stillRunning(process)) return false;
  return TerminateProcess(process, exitCode) != 0;
}

void Win32Platform::closeProcess(ProcessHandle handle) {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto it = children_.find(handle);
  if (it == children_.end()) return;
  CloseHandle(static_cast<HANDLE>(it->second));
  children_.erase(it);
}

std::optional<ProcessIdentity> Win32Platform::processIdentity(ProcessHandle handle) {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto it = children_.find(handle);
  if (it == children_.end()) return std::nullopt;
  return identityOf(static_cast<HANDLE>(it->second));
}

std::optional<ProcessIdentity> Win32Platform::ownIdentity() { return identityOf(GetCurrentProcess()); }

bool Win32Platform::isRunning(const ProcessIdentity& identity) {
  if (identity.pid <= 0 || identity.pid > 0xFFFFFFFFll) return false;
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, static_cast<DWORD>(identity.pid));
  if (process == nullptr) return false;
  const auto now = identityOf(process);
  CloseHandle(process);
  return now && *now == identity;
}

std::size_t Win32Platform::endLeftovers(const std::vector<ProcessIdentity>& leftovers) {
  std::vector<HANDLE> ended;
  for (const ProcessIdentity& id : leftovers) {
    if (id.pid <= 0 || id.pid > 0xFFFFFFFFll || static_cast<DWORD>(id.pid) == GetCurrentProcessId()) continue;
    // The handle, opened before the check, pins the process the check speaks of.
    HANDLE process = OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE,
                                 static_cast<DWORD>(id.pid));
    if (process == nullptr) continue;
    const auto now = identityOf(process);
    if (!now || *now != id || !TerminateProcess(process, 0)) {
      CloseHandle(process);
      continue;
    }
    ended.push_back(process);
  }
  // New copies would find the ports still taken while the old ones are dying.
  const ULONGLONG deadline = GetTickCount64() + kLeftoverWaitMs;
  for (HANDLE process : ended) {
    const ULONGLONG now = GetTickCount64();
    WaitForSingleObject(process, now < deadline ? static_cast<DWORD>(deadline - now) : 0);
    CloseHandle(process);
  }
  return ended.size();
}

bool Win32Platform::shellOpen(const std::string& target) {
  if (target.empty()) return false;
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"open", widen(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return result > 32;
}

void Win32Platform::setExecutionState(std::uint32_t flags) {
  SetThreadExecutionState(static_cast<EXECUTION_STATE>(flags));
}

bool Win32Platform::screenSaverActive() {
  BOOL active = FALSE;
  if (!SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0)) return false;
  return active != FALSE;
}

void Win32Platform::setScreenSaverActive(bool active) {
  // Not written to the user's profile: the next logon has the user's own setting.
  SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, active ? TRUE : FALSE, nullptr, 0);
}

void Win32Platform::showDesktopIcons(bool show) {
  const HWND desktop = FindWindowW(L"ProgMan", nullptr);
  if (desktop == nullptr) return;
  const HWND icons = GetWindow(desktop, GW_CHILD);
  if (icons != nullptr) ShowWindow(icons, show ? SW_SHOW : SW_HIDE);
}

void Win32Platform::minimizeAllWindows() {
  onComThread([] {
    CLSID shellClass;
    if (FAILED(CLSIDFromProgID(L"Shell.Application", &shellClass))) return;
    IDispatch* shell = nullptr;
    if (FAILED(CoCreateInstance(shellClass, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(&shell))))
      return;
    wchar_t method[] = L"MinimizeAll";
    LPOLESTR names[] = {method};
    DISPID id = 0;
    if (SUCCEEDED(shell->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) {
      DISPPARAMS none{};
      shell->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
    }
    shell->Release();
  });
}

std::vector<std::string> Win32Platform::localIPv4Addresses() {
  std::vector<std::string> out;
  if (!winsock_) return out;
  char name[260] = {};
  if (gethostname(name, sizeof name - 1) != 0) return out;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_DGRAM;  // one entry per address, not one per socket type
  addrinfo* result = nullptr;
  if (getaddrinfo(name, nullptr, &hints, &result) != 0) return out;
  for (addrinfo* a = result; a != nullptr; a = a->ai_next) {
    if (a->ai_family != AF_INET || a->ai_addr == nullptr) continue;
    char text[INET_ADDRSTRLEN] = {};
    const auto* sin = reinterpret_cast<const sockaddr_in*>(a->ai_addr);
    if (inet_ntop(AF_INET, &sin->sin_addr, text, sizeof text) == nullptr) continue;
    if (std::find(out.begin(), out.end(), text) == out.end()) out.emplace_back(text);
  }
  freeaddrinfo(result);
  return out;
}

char Win32Platform::decimalSeparator() {
  wchar_t separator[8] = {};
  if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) < 2) return '.';
  // The program's numbers are 8-bit text: a separator outside ASCII is not one of them.
  return separator[0] > 0 && separator[0] < 0x80 ? static_cast<char>(separator[0]) : '.';
}

unsigned long Win32Platform::pidOf(ProcessHandle handle) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto it = children_.find(handle);
  return it == children_.end() ? 0 : GetProcessId(static_cast<HANDLE>(it->second));
}

}  // namespace vantrel
