#include "grid/genwords.h"

namespace sim::gen {

WordData ReadWordData(store::Database& db) {
    std::vector<Link> links;
    for (auto& [word, answer] : db.ClueLinks()) links.push_back({std::move(word), std::move(answer)});
    std::map<std::string, int> ranks;
    for (const auto& [word, rank] : db.Ranks()) {
        auto [it, added] = ranks.emplace(word, rank);
        if (!added) it->second = std::min(it->second, rank);
    }
    return MakeWordData(links, ranks);
}

}  // namespace sim::gen
