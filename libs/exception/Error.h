#pragma once
// The exception library: every failure that the command reports is an
// owl::Error. The front end prints getErrorText() on the line after
// "Exporter error:", so the text is the message itself, written for the user.

#include <exception>
#include <string>

namespace owl {

// How grave an error is. The exporter raises everything as errorFatal (4).
enum errorType {
    errorInformation = 0,
    errorWarning = 1,
    errorRecoverable = 2,
    errorSevere = 3,
    errorFatal = 4,
};

class Error : public std::exception {
  public:
    Error(std::string className, std::string operation, std::string message, errorType type);
    ~Error() override;

    // The text shown to the user: the message, unadorned.
    virtual std::string getErrorText() const;

    const std::string& getClassName() const { return className_; }
    const std::string& getOperation() const { return operation_; }
    errorType getType() const { return type_; }
    const char* what() const noexcept override { return message_.c_str(); }

  private:
    std::string className_;
    std::string operation_;
    std::string message_;
    errorType type_;
};

namespace internal {
// A failure of the program's own logic or of its environment (files, streams).
class error : public Error {
  public:
    using Error::Error;
    ~error() override;
};
}  // namespace internal

namespace data {
// A failure caused by the data being read.
class error : public Error {
  public:
    using Error::Error;
    ~error() override;
};

// Something the user asked for is not in the data.
class notFound : public error {
  public:
    using error::error;
    ~notFound() override;
};

// The source holds no records yet: an empty file, or one whose first line
// (header) is not complete, as a run that has only just started leaves it.
// A watcher waits for it to grow; a one-off export reports it.
class noRecordsYet : public error {
  public:
    using error::error;
    ~noRecordsYet() override;
};
}  // namespace data

}  // namespace owl
