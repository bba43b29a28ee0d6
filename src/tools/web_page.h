#pragma once
// The web page generator: a template whose placeholders stand for live values of the
// gateway, filled into a page beside it.

#include <string>

#include "shared/shared_state.h"

namespace plx {

// The page's name: the template's name without leading and trailing spaces, every "."
// written "2." ("c:\WebPageName.html" gives "c:\WebPageName2.html").
std::string webPageOutputName(const std::string& templateName);

// The template's name without leading and trailing spaces.
std::string webPageTemplateName(const std::string& fieldText);

// What the placeholders are replaced with, taken at one moment.
struct WebPageValues {
    const SharedState& tables;  // {[AF, {[IP, {[DE, {[TY by terminal number
    std::string linkState;      // {[SO
    std::string hostAddress;    // {[SI
    std::string hostPort;       // {[SP
    std::string user;           // {[SU
    std::string password;       // {[SW
    std::string received;       // {[SR
    std::string events;         // {[AE, each line followed by CR LF
    std::string time;           // {[GT
    std::string date;           // {[GD
};

// The page: the template's lines (ended by CR LF, CR or LF; a last line without an end
// counts) each written with CR LF, every placeholder replaced. A placeholder is "{[", a
// two-letter code, a decimal number and "]}"; for the terminal codes the number names the
// terminal and must have a digit, a terminal that does not exist gives an empty value.
// Anything else is copied unchanged, and replaced values are never searched again.
std::string fillWebPage(const std::string& templateText, const WebPageValues& values);

}  // namespace plx
