// The cmap conversion from one table file to a new one. The converted table
// is built in a work file (prefix "emf", in the system's temporary folder) and
// put at the output name only when complete, without replacing a file that
// exists; a failed conversion leaves neither an output nor a work file.
#pragma once

#include <string>

#include "macconv/engine/sinks.h"

namespace macconv {

// `progress` may be null. Messages:
//   input unreadable      ERROR         Function CreateFile(<input>) failed!! File exist?
//   no work file          ERROR at 001  Function CreateFile(<work file>) failed!! File exist?
//   work file unwritable  ERROR         Function WriteFile(<work file>) failed!! <errno>
//   output not placed     ERROR         File exist? : <output>
// A successful conversion shows no message.
shell::Outcome ConvertCmapFile(const std::string& inputName, const std::string& outputName, shell::MessageSink& messages,
                        ProgressSink* progress);

}  // namespace macconv
