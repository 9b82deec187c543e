// velmora-mkdb --database URL: a word database on a PostgreSQL server.
#pragma once

#include <functional>
#include <string>
#include <vector>

// True when the arguments name a server (--database URL).
bool NamesServer(const std::vector<std::string>& args);

// Fills the empty database on the server that --database names: with
// --from FILE a copy of that SQLite word database; otherwise with what the
// other arguments make, built by `makeFile` in a temporary file first (so
// every source of velmora-mkdb fills a server too) and then copied, all in
// one transaction. Returns the exit status.
int MakeOnServer(std::vector<std::string> args, const std::function<int(const std::vector<std::string>&)>& makeFile);
