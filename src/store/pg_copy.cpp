// Puts a SQLite word database on a server: every table copied in its stored
// order with COPY, in one transaction with the schema and the indexes.
#include <numeric>

#include "store/pg_words.h"
#include "store/wordlists.h"

namespace store {

namespace {

// The columns a server's unique key holds, per table; "" for none. A file
// may hold such a row twice (a word list imported from elsewhere); the
// first is copied, and the repeats are left out.
std::string uniqueKey(const std::string& table) {
    if (table == "T_Ord") return "Ord";
    if (table == "T_Verdi") return "Verdi";
    if (table == "T_OrdKategori") return "Ord, Kategori";
    if (table == "T_OrdVerdi") return "Ord, Verdi";
    return "";
}

std::string columnList(const TableColumns& t) {
    std::string out;
    for (const char* c : t.columns) out += (out.empty() ? "" : ", ") + std::string(c);
    return out;
}

}  // namespace

TableCounts CountRows(pg::Connection& c) {
    TableCounts out;
    for (const TableColumns& t : Tables())
        out.push_back(long(c.exec(std::string("SELECT count(*) FROM ") + t.table).integer(0, 0)));
    return out;
}

TableCounts CountRows(Connection& c) {
    TableCounts out;
    for (const TableColumns& t : Tables()) {
        Stmt st = c.prepare(std::string("SELECT count(*) FROM ") + t.table);
        st.step();
        out.push_back(long(st.integer(0)));
    }
    return out;
}

TableCounts CopyToServer(Connection& from, pg::Connection& to,
                         const std::function<void(const std::string&, double)>& progress) {
    if (!PgDatabaseEmpty(to))
        throw DbError::onServer(DbError::Kind::Engine, to.label(),
                                "the database holds word tables already; a word database is copied only into an "
                                "empty one, and this one was left as it is");
    const TableCounts source = CountRows(from);
    const double total = double(std::accumulate(source.begin(), source.end(), 0L)) + 1;
    long done = 0;
    pg::Transaction t(to);
    CreatePgTables(to);
    for (const TableColumns& table : Tables()) {
        const std::string cols = columnList(table);
        if (progress) progress(table.table, double(done) / double(total));
        pg::Copy copy(to, std::string("COPY ") + table.table + " (" + cols + ") FROM STDIN");
        const std::string key = uniqueKey(table.table);
        Stmt st = from.prepare("SELECT " + cols + " FROM " + table.table +
                               (key.empty() ? std::string()
                                            : " WHERE rowid IN (SELECT min(rowid) FROM " + std::string(table.table) +
                                                  " GROUP BY " + key + ")") +
                               " ORDER BY rowid");
        pg::Params row(table.columns.size());
        while (st.step()) {
            for (size_t i = 0; i < row.size(); ++i) {
                if (st.isNull(int(i)))
                    row[i].reset();
                else
                    row[i] = st.text(int(i));
            }
            copy.row(row);
            if (++done % 20000 == 0 && progress) progress(table.table, double(done) / double(total));
        }
        copy.end();
    }
    // Commonness, where the file has it: a table the windows never read.
    if (from.prepare("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1").bind(1, kRankTable).step()) {
        pg::Copy copy(to, std::string("COPY ") + kRankTable + " (Ord, Rang) FROM STDIN");
        Stmt st = from.prepare(std::string("SELECT Ord, min(Rang) FROM ") + kRankTable + " GROUP BY Ord ORDER BY Ord");
        pg::Params row(2);
        while (st.step()) {
            row[0] = st.text(0);
            row[1] = st.text(1);
            copy.row(row);
        }
        copy.end();
    }
    if (progress) progress("indexes", double(done) / double(total));
    CreatePgIndexes(to);
    to.exec("ANALYZE");
    t.commit();
    if (progress) progress("indexes", 1.0);
    return CountRows(to);
}

}  // namespace store
