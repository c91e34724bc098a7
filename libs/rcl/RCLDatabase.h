#pragma once
// The process-wide store of command-language objects (docs/command-language.md):
// a tree of "TYPE: Name" objects with their parameters, filled from files and
// from sent text, and looked up by path ("/TYPE: Name/TYPE: Name").

#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "libs/rcl/ParamMap.h"
#include "libs/rcl/RCLObject.h"

class RCLDatabase {
  public:
    // The one database of the process, created empty on first use.
    static RCLDatabase* instance();

    RCLDatabase();
    virtual ~RCLDatabase();
    RCLDatabase(const RCLDatabase&) = delete;
    RCLDatabase& operator=(const RCLDatabase&) = delete;

    // Executes the file's text. With replace, the database is emptied first.
    // A file that cannot be read or is not valid command-language text raises
    // owl::data::error naming the file (and the line), leaving the database
    // unchanged.
    void loadRCLFile(const QString& file, bool replace);
    // Executes the text: objects that do not exist are created; with update,
    // the parameters the text sets replace those of existing objects, without
    // it parameters already set keep their values. Errors name "sent text"
    // and the line; the database is then unchanged.
    void sendRCL(const QString& text, bool update);

    // Names of the direct children of the object at path that have the type,
    // in definition order; none when the path names no object.
    std::vector<QString> getObjectsByTypeAndPath(const QString& type, const QString& path) const;
    // The object's parameters; with inherited, also those of the enclosing
    // objects that it does not set itself. Raises owl::data::notFound when the
    // path names no object.
    ParamMap getObjectParameters(const QString& objectPath, bool inherited) const;
    // Whether the path names an object.
    bool hasObject(const QString& objectPath) const;
    // Removes every object.
    void clear();
    // A number that changes whenever the objects may have changed (loading,
    // sending, clearing): what a caller derives from the objects stays
    // valid while the revision stays the same.
    unsigned long revision() const { return revision_; }

  private:
    void execute(const QString& text, const std::string& source, bool update);
    // The objects along the path, root first; empty when the path names none.
    std::vector<const owl::RCLObject*> resolve(const QString& path) const;

    std::unique_ptr<owl::RCLObject> root_;
    unsigned long revision_ = 0;
};
