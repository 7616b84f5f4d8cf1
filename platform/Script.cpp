// Reading the script front end's actions.
#include "platform/Script.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "platform/TextCase.h"

namespace {

struct NamedNumber {
  const char* name;
  long value;
};

constexpr NamedNumber kAnswers[] = {{"IDOK", IDOK},         {"IDCANCEL", IDCANCEL}, {"IDYES", IDYES}, {"IDNO", IDNO},
                                    {"IDABORT", IDABORT}, {"IDRETRY", IDRETRY},   {"IDIGNORE", IDIGNORE}};

bool ParseNumber(const std::string& word, long* value) {
  if (word.empty()) return false;
  errno = 0;
  char* end = nullptr;
  long parsed = std::strtol(word.c_str(), &end, 0);
  if (errno != 0 || *end != '\0' || parsed < 0 || parsed > 0xFFFF) return false;
  *value = parsed;
  return true;
}

bool ParseKey(const std::string& word, DialogKey* key) {
  std::string upper = AsciiUpper(word);
  if (upper == "ENTER") *key = DialogKey::Enter;
  else if (upper == "ESC") *key = DialogKey::Escape;
  else if (upper == "TAB") *key = DialogKey::Tab;
  else return false;
  return true;
}

bool ParseAnswer(const std::string& word, long* value) {
  for (const NamedNumber& answer : kAnswers)
    if (EqualsNoCase(word, answer.name)) {
      *value = answer.value;
      return true;
    }
  return false;
}

// Reads one action line; returns an explanation when it is not one.
std::string ParseLine(const std::string& verbWord, const std::string& argument, ScriptAction* action) {
  std::string verb = AsciiUpper(verbWord);
  if (verb == "CHECK" || verb == "UNCHECK" || verb == "CLICK" || verb == "SYSCOMMAND") {
    action->verb = verb == "CHECK" ? ScriptVerb::Check : verb == "UNCHECK" ? ScriptVerb::Uncheck
                   : verb == "CLICK" ? ScriptVerb::Click : ScriptVerb::SysCommand;
    if (!ParseNumber(argument, &action->number)) return "'" + verbWord + "' needs a number from 0 to 65535";
    return {};
  }
  if (verb == "KEY") {
    action->verb = ScriptVerb::Key;
    if (!ParseKey(argument, &action->key)) return "'key' needs ENTER, ESC or TAB";
    return {};
  }
  if (verb == "ANSWER") {
    action->verb = ScriptVerb::Answer;
    if (!ParseAnswer(argument, &action->number)) return "'answer' needs IDOK, IDCANCEL, IDYES or IDNO";
    return {};
  }
  return "unknown action '" + verbWord + "'";
}

std::string Trim(const std::string& line) {
  size_t first = line.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  size_t last = line.find_last_not_of(" \t\r");
  return line.substr(first, last - first + 1);
}

}  // namespace

bool CScript::Parse(std::string_view text, CScript* script, std::string* error) {
  CScript result;
  std::istringstream in{std::string(text)};
  std::string raw;
  int lineNumber = 0;
  while (std::getline(in, raw)) {
    ++lineNumber;
    std::string line = Trim(raw);
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string verb, argument, extra;
    words >> verb >> argument;
    ScriptAction action;
    action.line = lineNumber;
    action.text = line;
    std::string problem = (words >> extra) ? "'" + line + "' has more than one argument" : ParseLine(verb, argument, &action);
    if (!problem.empty()) {
      *error = "script line " + std::to_string(lineNumber) + ": " + problem;
      return false;
    }
    result.m_actions.push_back(std::move(action));
  }
  result.m_lastLine = lineNumber;
  *script = std::move(result);
  return true;
}

std::optional<ScriptAction> CScript::Next() {
  if (m_next >= m_actions.size()) return std::nullopt;
  return m_actions[m_next++];
}
