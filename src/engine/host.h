#pragma once

#include <cstdint>
#include <vector>

#include "engine/turn_and_colour.h"
#include "support/messages/error_report.h"
#include "support/text/text.h"

namespace brevant {

// How a run makes its documents: one for each input, or one for all of them.
enum class DocumentMode { PerInput, OneDocument };
// Where a run's documents go: the chosen folder, or beside each input.
enum class Destination { ChosenFolder, BesideInput };
// A format of the files saved beside each document (the table of formats,
// engine/write/output_formats.h, says what each one is).
enum class OutputFormat : std::uint8_t;

// What the engine asks of its surroundings. The window implements it, and so do
// the command-line tool and the tests. Options are read at the moment a
// conversion needs them, never cached, so a change made while the engine yields
// applies from that moment on.
class Host {
 public:
  virtual ~Host() = default;

  // Table options.
  virtual Colour tableTextColour() = 0;
  virtual Text borderWidth() = 0;  // inserted into the document as typed
  virtual Colour tableBackgroundColour() = 0;

  virtual DocumentMode documentMode() = 0;
  // Reading: one table row per contact instead of one per input file.
  virtual bool oneRowPerContact() { return false; }
  // The same table in this format beside each document as well.
  virtual bool savesBeside(OutputFormat format) {
    (void)format;
    return false;
  }

  virtual Destination destination() = 0;
  virtual Text chosenFolder() = 0;

  // The rows of the input list, in order, taken as a snapshot.
  virtual std::vector<Text> inputPaths() = 0;

  // Progress display: position 0 to 100 and caption.
  virtual void setProgressPosition(double position) = 0;
  virtual void setProgressCaption(const Text& caption) = 0;

  // Lets the window system process pending events once.
  virtual void yield() = 0;

  // The busy pointer while a run converts.
  virtual void setBusy(bool busy) { (void)busy; }

  // How many BEGIN:VCARD blocks (contacts) an input held: told once per input
  // that was read, in either way of reading, for telling the user about files
  // of several contacts (which share a row unless read one row per contact) or
  // of none.
  virtual void noteVcardBlocks(const Text& path, std::uint64_t blocks) {
    (void)path;
    (void)blocks;
  }

  // An error box: the procedure reports and goes on with its next statement.
  virtual void reportError(const ErrorReport& report) = 0;
};

// The host's turns as a Turn.
inline Turn TurnsOf(Host& host) {
  return [&host] { host.yield(); };
}

}  // namespace brevant
