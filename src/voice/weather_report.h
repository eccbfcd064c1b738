#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// The server's reply turned into the one-line report the weather buttons decode: every line
// feed becomes a blank. A carriage return stays where it is.
std::string ReportFromReply(std::string_view reply);

// A report is worth decoding only when its 29th character is the "Z" that closes the
// observation time (a first line of "YYYY/MM/DD HH:MM", a blank, station, day and time).
bool IsValidReport(std::string_view report);

// Turns one METAR report and its line of the airport name file into the sentence for the
// speech engine: digits spelled one by one, commas as pauses, "3" and "9" as "tree" and
// "niner". Returns nothing when the wind group is too short to speak. Never throws on any
// input and reads only inside it.
std::optional<std::string> DecodeWeatherReport(std::string_view report, std::string_view airportLine);

// The whole handling from the server's reply on: line feeds to blanks, validity test,
// decoding. Nothing when the reply would not be spoken.
std::optional<std::string> SentenceFromReply(std::string_view reply, std::string_view airportLine);

} // namespace vantrel
