#include "reports/ReportBinding.h"

#include "core/Text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "engine/DbServer.h"
#include "engine/Expression.h"

namespace derode::reports {

std::string findFileIgnoringCase(const std::string& folder, const std::string& name)
{
    std::error_code ec;
    const std::filesystem::path direct = std::filesystem::path(folder) / name;
    if (std::filesystem::exists(direct, ec))
        return direct.string();
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        if (core::equalsIgnoreCase(entry.path().filename().string(), name))
            return entry.path().string();
    }
    return direct.string();
}

namespace {

std::string where(const ReportTemplate& model, int line)
{
    return model.fileName + ", ligne " + std::to_string(line) + " : ";
}

std::string numberText(double v)
{
    if (std::isfinite(v) && std::fabs(v) < 1e15 && v == std::floor(v))
        return std::to_string(static_cast<long long>(v));
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.4f", v);
    std::string s = buffer;
    while (!s.empty() && s.back() == '0')
        s.pop_back();
    if (!s.empty() && s.back() == '.')
        s.pop_back();
    return s;
}

Cell toCell(const engine::Value& value)
{
    Cell cell;
    if (const auto* s = std::get_if<std::string>(&value)) {
        cell.text = *s;
        cell.truth = !core::trim(*s).empty();
    } else if (const auto* d = std::get_if<double>(&value)) {
        cell.text = numberText(*d);
        cell.truth = *d != 0;
    } else if (const auto* b = std::get_if<bool>(&value)) {
        cell.text = *b ? "Oui" : "Non";
        cell.truth = *b;
    } else if (const auto* date = std::get_if<engine::Date>(&value)) {
        cell.text = date->iso();
        cell.truth = !date->empty();
    }
    return cell;
}

// A record of the table, with the report's variables behind its field names.
class ReportRecord : public engine::RecordSource {
public:
    ReportRecord(const engine::CDBSERVEREX* server, const Variables& variables)
        : variables_(variables)
    {
        if (server)
            record_.emplace(*server);
    }
    bool fieldValue(const std::string& upperName, engine::Value& out) const override
    {
        if (record_ && record_->fieldValue(upperName, out))
            return true;
        if (auto it = variables_.find(upperName); it != variables_.end()) {
            out = it->second;
            return true;
        }
        return false;
    }
    std::uint32_t recNo() const override { return record_ ? record_->recNo() : 1; }
    bool deleted() const override { return record_ ? record_->deleted() : false; }

private:
    std::optional<engine::ServerRecord> record_;
    const Variables& variables_;
};

// Orders values of the same kind; text, numbers and dates compare naturally, false before true.
int compare(const engine::Value& a, const engine::Value& b)
{
    if (a.index() != b.index())
        return a.index() < b.index() ? -1 : 1;
    if (const auto* s = std::get_if<std::string>(&a)) {
        const auto& t = std::get<std::string>(b);
        return *s < t ? -1 : (t < *s ? 1 : 0);
    }
    if (const auto* d = std::get_if<double>(&a)) {
        double e = std::get<double>(b);
        return *d < e ? -1 : (e < *d ? 1 : 0);
    }
    if (const auto* x = std::get_if<bool>(&a)) {
        bool y = std::get<bool>(b);
        return *x == y ? 0 : (*x ? 1 : -1);
    }
    long ja = std::get<engine::Date>(a).julianDay(), jb = std::get<engine::Date>(b).julianDay();
    return ja < jb ? -1 : (jb < ja ? 1 : 0);
}

}  // namespace

bool bindRows(const ReportTemplate& model, const BindOptions& options, const Variables& variables,
              std::vector<Row>& rows, std::string* error)
{
    auto fail = [&](const std::string& message) {
        if (error)
            *error = message;
        return false;
    };
    rows.clear();

    std::vector<engine::Expression> expressions;
    for (const ExpressionRef& ref : model.expressions) {
        std::string why;
        auto parsed = engine::Expression::parse(ref.text, &why);
        if (!parsed)
            return fail(where(model, ref.line) + "expression incorrecte \"" + ref.text + "\" (" + why + ")");
        expressions.push_back(std::move(*parsed));
    }
    const std::string filterText = options.filterSet ? options.filter : model.filter;
    std::optional<engine::Expression> filter;
    if (!core::trim(filterText).empty()) {
        std::string why;
        filter = engine::Expression::parse(filterText, &why);
        if (!filter)
            return fail(where(model, model.filterLine) + "filtre incorrect \"" + filterText + "\" (" + why + ")");
    }

    // Each chosen record: its cells and its sort keys.
    std::vector<std::pair<Row, std::vector<engine::Value>>> chosen;
    auto evaluateRecord = [&](const ReportRecord& record) -> bool {
        Row row;
        row.reserve(expressions.size());
        std::vector<engine::Value> keys;
        for (std::size_t i = 0; i < expressions.size(); ++i) {
            std::string why;
            auto value = expressions[i].evaluate(record, &why);
            if (!value) {
                if (error)
                    *error = where(model, model.expressions[i].line) + "expression \"" + model.expressions[i].text +
                             "\" impossible à évaluer (" + why + ")";
                return false;
            }
            row.push_back(toCell(*value));
        }
        for (const SortKey& key : model.sort)
            keys.push_back(*expressions[static_cast<std::size_t>(key.expression)].evaluate(record));
        chosen.emplace_back(std::move(row), std::move(keys));
        return true;
    };

    if (model.table.empty()) {
        ReportRecord record(nullptr, variables);
        if (!evaluateRecord(record))
            return false;
    } else {
        const std::string path = findFileIgnoringCase(options.dataFolder, model.table);
        engine::CDBSERVEREX server(path, {}, true, true);
        if (!server.used())
            return fail("Impossible d'ouvrir la table \"" + model.table + "\" du rapport " + model.fileName + " (" +
                        server.lastError() + ")");
        const std::string order = options.orderSet ? options.order : model.order;
        if (!core::trim(order).empty() && !server.setOrder(core::trim(order)))
            return fail("L'ordre \"" + order + "\" n'existe pas dans la table \"" + model.table + "\" du rapport " +
                        model.fileName);
        ReportRecord record(&server, variables);
        for (bool more = server.goTop(); more && !server.eof(); more = server.skip(1)) {
            if (filter) {
                std::string why;
                auto value = filter->evaluate(record, &why);
                if (!value)
                    return fail(where(model, model.filterLine) + "filtre \"" + filterText +
                                "\" impossible à évaluer (" + why + ")");
                const bool* keep = std::get_if<bool>(&*value);
                if (!keep)
                    return fail(where(model, model.filterLine) + "le filtre \"" + filterText +
                                "\" doit être une condition (.T. ou .F.)");
                if (!*keep)
                    continue;
            }
            if (!evaluateRecord(record))
                return false;
        }
    }

    if (!model.sort.empty()) {
        std::stable_sort(chosen.begin(), chosen.end(), [&](const auto& a, const auto& b) {
            for (std::size_t k = 0; k < model.sort.size(); ++k) {
                int c = compare(a.second[k], b.second[k]);
                if (c != 0)
                    return model.sort[k].descending ? c > 0 : c < 0;
            }
            return false;
        });
    }
    rows.reserve(chosen.size());
    for (auto& entry : chosen)
        rows.push_back(std::move(entry.first));
    return true;
}

}  // namespace derode::reports
