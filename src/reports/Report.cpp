#include "reports/Report.h"

#include "core/Messages.h"
#include "core/Text.h"
#include "reports/ReportBinding.h"

#include <filesystem>

namespace derode::reports {

namespace {
ReportOutput*& outputSlot()
{
    static ReportOutput* output = nullptr;
    return output;
}
}  // namespace

void setReportOutput(ReportOutput* output) { outputSlot() = output; }
ReportOutput* reportOutput() { return outputSlot(); }

Report::Report(ReportOutput* output) : output_(output) {}

void Report::setDataFolder(const std::string& folder)
{
    dataFolder_ = folder;
    if (!dataFolder_.empty() && dataFolder_.back() != '/')
        dataFolder_ += '/';
}

bool Report::loadTemplate(const std::string& programFolder, const std::string& relativeName)
{
    model_.reset();
    std::string path = programFolder;
    if (!path.empty() && path.back() != '/')
        path += '/';
    // The callers name templates with the program's own separators and case.
    std::string relative = relativeName;
    for (char& c : relative)
        if (c == '\\')
            c = '/';
    const auto slash = relative.rfind('/');
    const std::string folder = path + (slash == std::string::npos ? "" : relative.substr(0, slash + 1));
    const std::string file = slash == std::string::npos ? relative : relative.substr(slash + 1);
    path = findFileIgnoringCase(folder, file);

    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        error_ = "Modèle introuvable : " + path;
        return false;
    }
    ParseError parseError;
    model_ = reports::loadTemplate(path, &parseError);
    if (!model_) {
        error_ = parseError.describe();
        core::showError("\r\nLe modèle d'impression est incorrect :\r\n\r\n" + error_);
        return false;
    }
    return true;
}

void Report::setVariable(const std::string& name, const std::string& value) { variables_[name] = value; }

void Report::setSetting(int number, const std::string& value) { settings_[number] = value; }

std::string Report::setting(int number) const
{
    auto it = settings_.find(number);
    return it == settings_.end() ? std::string() : it->second;
}

void Report::setTableProperty(const std::string& alias, int property, const std::string& value)
{
    properties_.push_back({alias, property, value});
}

int Report::copies() const
{
    try {
        int n = std::stoi(setting(setting::Copies));
        return n < 1 ? 1 : n;
    } catch (...) {
        return 1;
    }
}

bool Report::print()
{
    printed_ = false;
    if (!model_)
        return false;
    if (!output_) {
        error_ = "Aucune sortie d'impression n'est installée";
        core::showError("\r\nImpression impossible :\r\n\r\n" + error_);
        return false;
    }
    BindOptions options;
    options.dataFolder = dataFolder_;
    for (const TableProperty& p : properties_) {
        if (!core::equalsIgnoreCase(p.alias, model_->alias)) {
            error_ = "Le modèle " + model_->fileName + " n'a pas de table \"" + p.alias + "\"";
            core::showError("\r\n" + error_);
            return false;
        }
        if (p.property == property::Filter) {
            options.filter = p.value;
            options.filterSet = true;
        } else if (p.property == property::Order) {
            options.order = p.value;
            options.orderSet = true;
        }
    }
    std::vector<Row> rows;
    if (!bindRows(*model_, options, variables_, rows, &error_)) {
        core::showError("\r\nImpression impossible :\r\n\r\n" + error_);
        return false;
    }
    pages_ = layOut(*model_, rows, variables_, output_->measurer(), output_->paper());
    printed_ = output_->print(pages_, copies(), model_->title.empty() ? model_->fileName : model_->title);
    return printed_;
}

}  // namespace derode::reports
