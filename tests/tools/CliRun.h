#pragma once

// Running the built tavimrok-cli as a person does from a shell, catching what it prints.

#include <sys/wait.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "common/TempFolder.h"
#include "common/TestPaths.h"

namespace kzm::test {

struct TRun {
  int code = -1;
  std::string out;
  std::string err;
};

// arg in single quotes for the shell.
inline std::string ShellQuote(const std::string& arg) {
  std::string quoted = "'";
  for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Runs tavimrok-cli with args; its output goes through files in temp.
inline TRun RunCli(const std::vector<std::string>& args, const TTempFolder& temp) {
  std::string command = ShellQuote(BinDir() + "/tavimrok-cli");
  for (const std::string& arg : args) command += " " + ShellQuote(arg);
  const std::string out = temp.File("stdout.txt");
  const std::string err = temp.File("stderr.txt");
  const int status = std::system((command + " >" + ShellQuote(out) + " 2>" + ShellQuote(err)).c_str());
  TRun run;
  run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = ReadBytes(out);
  run.err = ReadBytes(err);
  return run;
}

// The lines of a command's output, without their line ends.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The fields of a line; a separator at the end gives an empty last field.
inline std::vector<std::string> Split(const std::string& line, char separator) {
  std::vector<std::string> fields;
  std::string field;
  std::istringstream in(line);
  while (std::getline(in, field, separator)) fields.push_back(field);
  if (!line.empty() && line.back() == separator) fields.emplace_back();
  return fields;
}

}  // namespace kzm::test
