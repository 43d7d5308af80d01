// What a process and everything it started costs, read from /proc: the client's tree holds
// WebKit's page, network and sandbox processes beside its own.
#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

namespace talvo::bench {

// `root` and all its descendants alive now.
std::vector<pid_t> ProcessTree(pid_t root);

// Proportional memory of the tree, in KiB: pages shared between its processes (WebKit's are
// many) are counted once in all.
long TreePssKiB(pid_t root);

// The part of it that is the processes' own data (anonymous memory, Pss_Anon): what a stream
// kept in memory would grow, unlike the libraries' pages that come in as code is first run.
long TreeAnonPssKiB(pid_t root);

// The same, by process name (its /proc comm), summed over the processes of one name.
std::map<std::string, long> TreePssKiBByName(pid_t root);

// Each process's own anonymous memory (smaps_rollup's Anonymous), whole, by process name: unlike
// PSS it does not move with what other processes happen to share with it.
std::map<std::string, long> TreeAnonymousKiBByName(pid_t root);

// The files, sockets and pipes the tree's live processes hold open.
long TreeOpenFiles(pid_t root);

// "name MiB, ..." of the tree's PSS by process: which process holds what.
std::string PssByProcess(pid_t root);

// User and system CPU time the tree's live processes have used so far, in seconds.
double TreeCpuSeconds(pid_t root);

// The least-squares slope of `values` over `at` (the same length, at least two distinct).
double Slope(const std::vector<double>& at, const std::vector<double>& values);

// The value at quantile `q` (0 to 1) of `values`, which must not be empty.
double Quantile(std::vector<double> values, double q);
inline double Median(const std::vector<double>& values) { return Quantile(values, 0.5); }

}  // namespace talvo::bench
