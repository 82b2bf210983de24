#ifndef CORDRA_EXCEPTION_H_
#define CORDRA_EXCEPTION_H_

#include <exception>
#include <string>
#include <utility>

namespace Cordra {

// A failure of a framework operation or of a plug-in's registration.
class CordraToolException : public std::exception {
 public:
  explicit CordraToolException(std::string message) : message_(std::move(message)) {}
  // Out of line, so that the type information a plug-in throws with is the
  // framework's own and the shell can catch it.
  ~CordraToolException() override;
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

}  // namespace Cordra

#endif  // CORDRA_EXCEPTION_H_
