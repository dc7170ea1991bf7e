#pragma once

// The editor, docket and batch windows change loans: a user whom the court lets look but not
// change is told so at once, in one box with the server's own words, and the window then closes.
namespace WriteRefusal {

// True when the user was told (the caller closes its window).
bool Told();

} // namespace WriteRefusal
