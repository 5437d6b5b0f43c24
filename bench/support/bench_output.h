#pragma once

#include <string>

namespace kelvora::bench {

// The lines that bench/run reads from a bench program's standard output:
//   figure NAME VALUE UNIT   a measurement of Kelvora
//   anchor NAME VALUE UNIT   a reference measured in the same run, compared
//                            with the figure printed before it
// Everything else a bench prints is commentary.
void PrintFigure(const std::string& name, double value, const std::string& unit);
void PrintAnchor(const std::string& name, double value, const std::string& unit);

// Four significant digits, never in exponent form: 0.4321, 12.35, 416012.
std::string FormatValue(double value);

}  // namespace kelvora::bench
