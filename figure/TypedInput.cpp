// The texts the typed-length box takes.
#include "TypedInput.h"

#include <cmath>
#include <numbers>

#include "NumberText.h"

namespace murvex::figure {

namespace {

std::optional<long double> Number(std::string_view text) {
    const ParseResult r = ParseDecimal(text);
    if (!r.ok || !std::isfinite(r.value)) return std::nullopt;
    return r.value;
}

// Splits "a<sep>b" at its one separator into two numbers.
std::optional<TypedInput> Pair(std::string_view text, char separator, TypedInput::Form form) {
    const std::size_t at = text.find(separator);
    if (at == std::string_view::npos || text.find(separator, at + 1) != std::string_view::npos)
        return std::nullopt;
    const auto a = Number(text.substr(0, at));
    const auto b = Number(text.substr(at + 1));
    if (!a || !b) return std::nullopt;
    return TypedInput{form, *a, *b};
}

// Two numbers: split at the ";" when there is one (the numbers may then hold decimal commas),
// else at the one ",".
std::optional<TypedInput> Point(std::string_view text, TypedInput::Form form) {
    if (text.find(';') != std::string_view::npos) return Pair(text, ';', form);
    return Pair(text, ',', form);
}

}  // namespace

std::optional<TypedInput> ParseTypedInput(std::string_view text) {
    if (text.size() > kShortTextLimit) text = text.substr(0, kShortTextLimit);
    using Form = TypedInput::Form;
    if (!text.empty() && text.front() == '@') {
        const std::string_view rest = text.substr(1);
        if (rest.find('<') != std::string_view::npos) return Pair(rest, '<', Form::Polar);
        return Point(rest, Form::Relative);
    }
    if (!text.empty() && text.front() == '<') return Pair(text.substr(1), '<', Form::Polar);
    if (text.find('<') != std::string_view::npos) return Pair(text, '<', Form::Polar);
    if (text.find(';') != std::string_view::npos) return Pair(text, ';', Form::Absolute);
    // A text that reads as one number stays a length, as typed lengths always were ("2,5" is
    // 2.5 in every locale).
    if (const auto length = Number(text)) return TypedInput{Form::Length, *length, 0};
    return Pair(text, ',', Form::Absolute);
}

TilePoint TypedInputPoint(const TypedInput& input, TilePoint start) {
    switch (input.form) {
        case TypedInput::Form::Relative:
            return {start.x + input.a, start.y + input.b};
        case TypedInput::Form::Absolute:
            return {input.a, input.b};
        case TypedInput::Form::Polar: {
            constexpr long double kRadiansPerDegree = std::numbers::pi_v<long double> / 180;
            const long double angle = input.b * kRadiansPerDegree;
            long double c = std::cos(angle);
            long double s = std::sin(angle);
            // Whole right angles land exactly on the axes.
            if (std::fabs(c) < 1e-15L) c = 0;
            if (std::fabs(s) < 1e-15L) s = 0;
            return {start.x + input.a * c, start.y + input.a * s};
        }
        case TypedInput::Form::Length:
            break;
    }
    return start;
}

std::string TypedInputRefusedText(char userSeparator) {
    std::string text =
        "Geen geldig getal ingevoerd\n\n"
        "Mogelijk zijn:\n"
        "25\teen lengte langs de rubberlijn\n"
        "@50,20\tdx,dy vanaf het beginpunt\n"
        "30.5,40\tx,y in de tegel\n"
        "@50<45\teen lengte onder een hoek (graden)";
    if (userSeparator == ',')
        text += "\nMet een decimale komma scheidt ; de twee getallen: @2,5;0 of 30,5;40";
    return text;
}

}  // namespace murvex::figure
