// install_runner: the Windows half of the installation benchmark, run under Wine.
//
//   install_runner run PROGRAM [ARGS...]   starts PROGRAM, waits for it, and prints
//                                          "ms=<elapsed> peak=<peak working set bytes> exit=<code>"
//   install_runner floor SOURCE TARGET     reads every file below SOURCE into memory, then
//                                          writes them all below TARGET and prints "ms=<elapsed>":
//                                          the least time any installer needs for the tree
//
// The peak working set is read from the process once it has ended (the handle keeps its
// counters) and, in case the system forgets them, polled every 5 ms while it runs.
// clang-format off
#include <windows.h>
#include <psapi.h>
// clang-format on
#include <stdio.h>

#include <string>
#include <vector>

namespace {

double now_ms() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

SIZE_T peak_of(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof(counters);
  return GetProcessMemoryInfo(process, &counters, sizeof(counters)) ? counters.PeakWorkingSetSize : 0;
}

int run(int argc, char** argv) {
  std::string line;
  for (int i = 2; i < argc; ++i) {
    if (i > 2) line += ' ';
    std::string arg = argv[i];
    bool quote = i == 2 || (arg.find(' ') != std::string::npos && arg.find('"') == std::string::npos);
    line += quote ? "\"" + arg + "\"" : arg;
  }
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  double start = now_ms();
  if (!CreateProcessA(argv[2], line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    fprintf(stderr, "install_runner: cannot start %s (error %lu)\n", argv[2], GetLastError());
    return 2;
  }
  SIZE_T peak = 0;
  while (WaitForSingleObject(info.hProcess, 5) == WAIT_TIMEOUT) {
    SIZE_T p = peak_of(info.hProcess);
    if (p > peak) peak = p;
  }
  double elapsed = now_ms() - start;
  SIZE_T last = peak_of(info.hProcess);
  if (last > peak) peak = last;
  DWORD code = 0;
  GetExitCodeProcess(info.hProcess, &code);
  printf("ms=%.1f peak=%llu exit=%lu\n", elapsed, static_cast<unsigned long long>(peak), code);
  return 0;
}

struct LoadedFile {
  std::string relative;
  std::vector<char> bytes;
};

void load_tree(const std::string& root, const std::string& relative, std::vector<LoadedFile>& files,
               std::vector<std::string>& directories) {
  WIN32_FIND_DATAA data;
  std::string base = relative.empty() ? root : root + "\\" + relative;
  HANDLE find = FindFirstFileA((base + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    std::string child = relative.empty() ? name : relative + "\\" + name;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      directories.push_back(child);
      load_tree(root, child, files, directories);
      continue;
    }
    LoadedFile file{child, {}};
    HANDLE h = CreateFileA((root + "\\" + child).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) continue;
    file.bytes.resize(GetFileSize(h, nullptr));
    DWORD read = 0;
    if (!file.bytes.empty()) ReadFile(h, file.bytes.data(), static_cast<DWORD>(file.bytes.size()), &read, nullptr);
    CloseHandle(h);
    files.push_back(std::move(file));
  } while (FindNextFileA(find, &data));
  FindClose(find);
}

int floor(const char* source, const char* target) {
  std::vector<LoadedFile> files;
  std::vector<std::string> directories;
  load_tree(source, "", files, directories);
  double start = now_ms();
  CreateDirectoryA(target, nullptr);
  for (const std::string& d : directories) CreateDirectoryA((std::string(target) + "\\" + d).c_str(), nullptr);
  for (const LoadedFile& f : files) {
    HANDLE h = CreateFileA((std::string(target) + "\\" + f.relative).c_str(), GENERIC_WRITE, 0, nullptr,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 2;
    DWORD written = 0;
    if (!f.bytes.empty()) WriteFile(h, f.bytes.data(), static_cast<DWORD>(f.bytes.size()), &written, nullptr);
    CloseHandle(h);
  }
  printf("ms=%.1f\n", now_ms() - start);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::string(argv[1]) == "run") return run(argc, argv);
  if (argc == 4 && std::string(argv[1]) == "floor") return floor(argv[2], argv[3]);
  fprintf(stderr, "usage: install_runner run PROGRAM [ARGS...] | floor SOURCE TARGET\n");
  return 2;
}
