// fault_coverage_report --records DIR --allow FILE [--report FILE]
//
// Merges the call records the command tests wrote into DIR (lines "command
// operation called|fired" in *.calls files) and checks that for every
// (command, operation) pair some command called, some test fired a fault in
// that operation from that command, or the pair is in the allow-list FILE
// (lines "Command Operation", "#" starts a comment; the comment says why the
// command cannot handle a failure there). Prints the report (and writes it to
// --report), then the missing pairs and stale allow-list entries. Exit
// status: 0 all covered, 1 missing pairs or stale entries, 2 bad usage or
// unreadable input.
#include <dirent.h>

#include <fstream>
#include <iomanip>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Pair = std::pair<std::string, std::string>;  // (command, operation)

struct Records {
  std::set<Pair> called;
  std::set<Pair> fired;
  int files = 0;
};

bool ReadRecords(const std::string& dir, Records* records) {
  DIR* handle = opendir(dir.c_str());
  if (!handle) return false;
  while (const dirent* entry = readdir(handle)) {
    const std::string name = entry->d_name;
    if (name.size() < 6 || name.compare(name.size() - 6, 6, ".calls") != 0) continue;
    std::ifstream file(dir + "/" + name);
    std::string command, operation, what;
    while (file >> command >> operation >> what) {
      (what == "fired" ? records->fired : records->called).insert({command, operation});
    }
    ++records->files;
  }
  closedir(handle);
  return true;
}

// Allow-list entries with the line they stand on.
bool ReadAllowList(const std::string& path, std::map<Pair, int>* allowed) {
  std::ifstream file(path);
  if (!file) return false;
  std::string line;
  for (int number = 1; std::getline(file, line); ++number) {
    line = line.substr(0, line.find('#'));
    std::istringstream words(line);
    std::string command, operation;
    if (words >> command >> operation) (*allowed)[{command, operation}] = number;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::map<std::string, std::string> options;
  for (int i = 1; i + 1 < argc; i += 2) options[argv[i]] = argv[i + 1];
  if (argc % 2 == 0 || !options.count("--records") || !options.count("--allow")) {
    std::cerr << "usage: fault_coverage_report --records DIR --allow FILE [--report FILE]\n";
    return 2;
  }
  Records records;
  if (!ReadRecords(options["--records"], &records) || records.files == 0) {
    std::cerr << options["--records"] << ": no call records (run the command tests first)\n";
    return 2;
  }
  std::map<Pair, int> allowed;
  if (!ReadAllowList(options["--allow"], &allowed)) {
    std::cerr << options["--allow"] << ": cannot read the allow-list\n";
    return 2;
  }

  std::ostringstream report;
  std::vector<Pair> missing;
  std::set<std::string> commands;
  int tested = 0, excused = 0;
  std::string current;
  for (const Pair& pair : records.called) {
    if (pair.first != current) {
      current = pair.first;
      commands.insert(current);
      report << current << "\n";
    }
    const char* state;
    if (records.fired.count(pair)) {
      state = "fault tested";
      ++tested;
    } else if (allowed.count(pair)) {
      state = "allowed (not handled by design)";
      ++excused;
    } else {
      state = "MISSING";
      missing.push_back(pair);
    }
    report << "  " << std::left << std::setw(36) << pair.second << state << "\n";
  }
  report << "\n"
         << commands.size() << " commands, " << records.called.size()
         << " (command, operation) pairs: " << tested << " fault tested, " << excused
         << " allowed, " << missing.size() << " missing\n";
  std::cout << report.str();
  if (options.count("--report")) std::ofstream(options["--report"]) << report.str();

  std::vector<std::pair<Pair, int>> stale;
  for (const auto& entry : allowed) {
    if (!records.called.count(entry.first)) stale.push_back(entry);
  }
  if (!missing.empty()) {
    std::cout << "\nNo test fires a fault in these operations from these commands; add a fault "
                 "test, or an allow-list entry saying why the command cannot handle it:\n";
    for (const Pair& pair : missing) std::cout << "  " << pair.first << " " << pair.second << "\n";
  }
  if (!stale.empty()) {
    std::cout << "\nAllow-list entries for pairs that no command test calls (remove them):\n";
    for (const auto& entry : stale) {
      std::cout << "  " << options["--allow"] << ":" << entry.second << ": " << entry.first.first
                << " " << entry.first.second << "\n";
    }
  }
  return missing.empty() && stale.empty() ? 0 : 1;
}
