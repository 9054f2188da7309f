#include "service/ScenarioFile.h"

#include "client/model/AtomicFile.h"
#include "service/ServiceClock.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace {

bool ParseValue(const std::string& text, std::optional<double>& out)
{
    if (text == "-")
        return true;
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || errno != 0 || *end != '\0' || !std::isfinite(v))
        return false;
    out = v;
    return true;
}

bool ParseWhen(const std::string& text, std::time_t start, std::time_t& out)
{
    if (!text.empty() && text[0] == '+') {
        char* end = nullptr;
        const long long secs = std::strtoll(text.c_str() + 1, &end, 10);
        if (text.size() < 2 || *end != '\0' || secs < 0 || secs > 7LL * 86400)
            return false;
        out = start + static_cast<std::time_t>(secs);
        return true;
    }
    return ServiceClock::parse(text, start, out);
}

} // namespace

bool ScenarioFile::load(const std::string& path, std::time_t start, std::string& error)
{
    std::string text;
    if (!ReadWholeFile(path, text)) {
        error = "cannot read scenario " + path;
        return false;
    }
    return parse(text, start, error);
}

bool ScenarioFile::parse(const std::string& text, std::time_t start, std::string& error)
{
    std::vector<Step> steps;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;)
            w.push_back(word);
        if (w.empty() || w[0][0] == '#')
            continue;
        Step step;
        bool ok = w.size() >= 3 && ParseWhen(w[0], start, step.at);
        if (ok) {
            step.key = w[1];
            if (w.size() == 3 && w[2] == "clear")
                step.clear = true;
            else
                ok = w.size() == 6 && ParseValue(w[2], step.values.price) &&
                     ParseValue(w[3], step.values.change) &&
                     ParseValue(w[4], step.values.volumeRatio) &&
                     ParseValue(w[5], step.values.turnover) && step.key != "all";
        }
        if (!ok) {
            error = "scenario line " + std::to_string(number) + " is not understood: " + line;
            return false;
        }
        steps.push_back(std::move(step));
    }
    std::stable_sort(steps.begin(), steps.end(),
                     [](const Step& a, const Step& b) { return a.at < b.at; });
    std::lock_guard<std::mutex> lock(m_mutex);
    m_steps = std::move(steps);
    m_next = 0;
    return true;
}

void ScenarioFile::applyDue(std::time_t now, QuoteSimulator& simulator)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (; m_next < m_steps.size() && m_steps[m_next].at <= now; ++m_next) {
        const Step& s = m_steps[m_next];
        if (s.clear && s.key == "all")
            simulator.clearOverrides();
        else if (s.clear)
            simulator.clearOverride(s.key);
        else
            simulator.setOverride(s.key, s.values);
    }
}
