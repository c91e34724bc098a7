#pragma once
// A path to a command-language object: "/TYPE: Name/TYPE: Name/...", one
// step per level. Blanks around ':' and at the ends of each step do not
// count, so "/MONITOR WORKSPACE: Run" and "MONITOR WORKSPACE : Run" name the
// same object.

#include <string>
#include <vector>

namespace owl {

class RCLPath {
  public:
    struct Step {
        std::string type;
        std::string name;
    };

    // Splits the path at '/'. Empty steps are skipped; a step without ':' has
    // an empty type.
    explicit RCLPath(const std::string& path);
    virtual ~RCLPath();

    const std::vector<Step>& getSteps() const { return steps_; }
    // The name of the last step; empty for the root path.
    const std::string getLastName() const;

  private:
    std::vector<Step> steps_;
};

}  // namespace owl
