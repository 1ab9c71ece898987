#pragma once
// A sample's cumulative counters in the Prometheus text format 0.0.4, the
// one the textfile collectors read: never rates (the collector takes them),
// no timestamps, UTF-8, LF line ends, HELP and TYPE once before each
// family's samples.
#include "report/Watcher.h"

#include <string>

namespace report {

std::string WritePrometheus(const Sample& sample);

// A label value with \, " and line feeds escaped.
std::string EscapeLabel(std::string_view utf8);

}  // namespace report
