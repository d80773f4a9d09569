#pragma once
// The conversation between the editor and its plug-in helper process, orvane-plugin-host.
//
// The editor starts the helper once per plug-in call with a verb and its arguments:
//   name <library> <class>            create the object, answer its getname()
//   register <library>                call the library's registration entry
//   run <library> <class> <file> [<window>]
//                                     create the object, answer its DisplayForm(file); the
//                                     plug-in's windows stay above the X11 window <window>
// The helper answers with exactly one line on its standard output and exits with status 0:
//   ORVANE-PLUGIN-HOST/1 NAME <menu text as UTF-8, hex>
//   ORVANE-PLUGIN-HOST/1 RESULT <DisplayForm's value, decimal>
//   ORVANE-PLUGIN-HOST/1 REGISTERED
//   ORVANE-PLUGIN-HOST/1 NOTCREATED   (library not loadable, wrong version, no such class)
// Anything else (a crash, another exit status, extra or malformed output) is a failed call.
#include <QByteArray>
#include <QString>

namespace orv {

namespace host_verb {
inline constexpr char kName[] = "name";
inline constexpr char kRegister[] = "register";
inline constexpr char kRun[] = "run";
} // namespace host_verb

// The answer lines the helper writes.
QByteArray HostNameReply(const QByteArray& utf8Name);
QByteArray HostResultReply(int result);
QByteArray HostRegisteredReply();
QByteArray HostNotCreatedReply();

// The most output a well-behaved helper writes; more is garbage and ends the call.
inline constexpr qsizetype kMaxHostReply = 64 * 1024;

struct HostReply {
    enum class Kind { Failed, NotCreated, Name, Result, Registered };
    Kind kind = Kind::Failed;
    QString name;      // Kind::Name
    int result = 0;    // Kind::Result
};

// Reads the helper's answer. `exitedNormally` is false after a crash or a kill.
HostReply ParseHostReply(bool exitedNormally, int exitCode, const QByteArray& output);

} // namespace orv
