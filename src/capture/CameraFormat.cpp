#include "capture/CameraFormat.h"

#include <cstdint>

namespace pixolo
{

namespace
{

// The highest frame rate a structure offers (a fraction, a list of them or a range); 0 when it names none.
double highestFrameRate(const GstStructure *structure, int &numerator, int &denominator)
{
    numerator = 0;
    denominator = 1;
    const GValue *value = gst_structure_get_value(structure, "framerate");
    if (!value) {
        return 0.0;
    }
    double best = 0.0;
    const auto consider = [&](const GValue *fraction) {
        if (!GST_VALUE_HOLDS_FRACTION(fraction)) {
            return;
        }
        const int n = gst_value_get_fraction_numerator(fraction);
        const int d = gst_value_get_fraction_denominator(fraction);
        if (d > 0 && double(n) / d > best) {
            best = double(n) / d;
            numerator = n;
            denominator = d;
        }
    };
    if (GST_VALUE_HOLDS_LIST(value)) {
        for (guint i = 0; i < gst_value_list_get_size(value); ++i) {
            consider(gst_value_list_get_value(value, i));
        }
    } else if (GST_VALUE_HOLDS_FRACTION_RANGE(value)) {
        consider(gst_value_get_fraction_range_max(value));
    } else {
        consider(value);
    }
    return best;
}

bool saysNothing(const GstCaps *caps)
{
    return !caps || gst_caps_is_any(caps) || gst_caps_is_empty(caps);
}

} // namespace

GstRef<GstCaps> bestCameraFormat(const GstCaps *offered)
{
    if (!offered || gst_caps_is_any(offered) || gst_caps_get_size(offered) < 2) {
        return {};
    }
    const GstStructure *best = nullptr;
    int bestWidth = 0;
    int bestHeight = 0;
    double bestRate = -1.0;
    int bestNumerator = 0;
    int bestDenominator = 1;
    bool bestRaw = false;
    for (guint i = 0; i < gst_caps_get_size(offered); ++i) {
        const GstStructure *structure = gst_caps_get_structure(offered, i);
        const bool raw = gst_structure_has_name(structure, "video/x-raw");
        if (!raw && !gst_structure_has_name(structure, "image/jpeg")) {
            continue; // a format nothing here decodes
        }
        int width = 0;
        int height = 0;
        if (!gst_structure_get_int(structure, "width", &width)
            || !gst_structure_get_int(structure, "height", &height)) {
            return {}; // sizes given as ranges: not a camera's list
        }
        int numerator = 0;
        int denominator = 1;
        const double rate = highestFrameRate(structure, numerator, denominator);
        const std::int64_t area = std::int64_t(width) * height;
        const std::int64_t bestArea = std::int64_t(bestWidth) * bestHeight;
        const bool better = !best || area > bestArea || (area == bestArea && rate > bestRate)
            || (area == bestArea && rate == bestRate && raw && !bestRaw);
        if (better) {
            best = structure;
            bestWidth = width;
            bestHeight = height;
            bestRate = rate;
            bestNumerator = numerator;
            bestDenominator = denominator;
            bestRaw = raw;
        }
    }
    if (!best) {
        return {};
    }
    GstStructure *chosen = gst_structure_copy(best);
    if (bestRate > 0.0) {
        gst_structure_set(chosen, "framerate", GST_TYPE_FRACTION, bestNumerator, bestDenominator, nullptr);
    }
    GstCaps *caps = gst_caps_new_empty();
    gst_caps_append_structure(caps, chosen);
    return GstRef<GstCaps>::adopt(caps);
}

CameraLink cameraLinkFor(const GstCaps *padCaps, const GstCaps *deviceCaps)
{
    if (!saysNothing(padCaps)) {
        return { bestCameraFormat(padCaps), true };
    }
    if (saysNothing(deviceCaps)) {
        return { {}, false };
    }
    if (GstRef<GstCaps> best = bestCameraFormat(deviceCaps)) {
        return { std::move(best), true };
    }
    GstCaps *pictures = gst_caps_new_empty();
    for (guint i = 0; i < gst_caps_get_size(deviceCaps); ++i) {
        const GstStructure *structure = gst_caps_get_structure(deviceCaps, i);
        if (gst_structure_has_name(structure, "video/x-raw") || gst_structure_has_name(structure, "image/jpeg")) {
            gst_caps_append_structure(pictures, gst_structure_copy(structure));
        }
    }
    auto caps = GstRef<GstCaps>::adopt(pictures);
    const bool connectable = !gst_caps_is_empty(caps.get());
    return { connectable ? std::move(caps) : GstRef<GstCaps>(), connectable };
}

} // namespace pixolo
