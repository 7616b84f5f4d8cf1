// CException: the base of the class library's exceptions, which the dialog framework reports.
#pragma once

#include <exception>
#include <string>
#include <utility>

class CException : public std::exception {
 public:
  explicit CException(std::string message) : m_message(std::move(message)) {}
  // The text the framework shows when a command handler lets the exception escape.
  const char* what() const noexcept override { return m_message.c_str(); }

 private:
  std::string m_message;
};
