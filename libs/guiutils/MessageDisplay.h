#pragma once
// Where libraries send messages meant for the user (warnings, notes). The
// command's standard output carries its table or document, so a console
// display writes each message as one line on standard error.

#include <QString>
#include <ostream>

namespace owl {

enum class MessageKind { Information, Warning, Error };

class MessageDisplayItf {
  public:
    virtual ~MessageDisplayItf();
    virtual void showMessage(MessageKind kind, const QString& text) = 0;
};

// Writes "<kind>: <text>" as one line on a stream (standard error by
// default). Line breaks inside the text are replaced by blanks so that each
// message stays on one line.
class LineMessageDisplay : public MessageDisplayItf {
  public:
    LineMessageDisplay();
    explicit LineMessageDisplay(std::ostream& out);
    ~LineMessageDisplay() override;
    void showMessage(MessageKind kind, const QString& text) override;

  private:
    std::ostream* out_;
};

}  // namespace owl
