#pragma once

// The component's side of the docket benchmarks, whatever the court database: one DocketRun as
// the docket window runs it, on the benchmark court's day, logging off (or automatic, logged),
// for action ("*OUT" or "*IN") and branch ("" for all). Returns the count of folders changed;
// throws when the run failed or changed nothing.
int RunDocketComponent(const char *action, const char *branch, bool logged = false);
