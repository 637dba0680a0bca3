#pragma once

// What the graph keeps about its elements beside GStreamer's own data: which element is a device's source (its
// errors mean a lost device) with the formats its device lists, and the helpers the components share for the pads
// of an element.

#include "capture/EDirectShowException.h"
#include "capture/GstRef.h"

#include <gst/gst.h>

#include <QString>

#include <vector>

namespace pixolo
{

// Initialises GStreamer once, for the first component that needs it.
void initialiseGStreamer();

// Marks the element as the source of a device, so that its errors count as a lost device, and keeps the formats the
// device says it offers: some sources answer "anything" until they run.
void markDeviceSource(GstElement *element, GstCaps *deviceCaps = nullptr);
bool isDeviceSource(GstElement *element);
// Whether the object is a device's source or lies inside one (the device's element may be a bin around the source).
bool isInDeviceSource(GstObject *object);
// The formats the element's device offers, as listed; none when it is no device's or its device named none.
GstRef<GstCaps> deviceCapsOf(GstElement *element);

// The element's factory name ("volume"), or its type's name for an element made without a factory.
QString factoryNameOf(GstElement *element);

// The element's pads: inputs first, then outputs, each in the element's order.
std::vector<GstRef<GstPad>> padsOf(GstElement *element);
// Unlinks the pad from its peer; false when it was not linked.
bool unlinkPad(GstPad *pad);
// Whether any pad of the element is linked.
bool hasLinkedPad(GstElement *element);

// Lets go of a component's element. One dropped outside any bin leaves nothing running behind it; one whose state is
// locked left a camera's graph, whose worker stops it (it may be busy with the camera still: stopping it here would
// wait for that).
void releaseElement(GstRef<GstElement> &element);

// The framework code for an error a graph's element posted.
DSErrorCode resultFromError(const GError *error, bool fromDeviceSource);

} // namespace pixolo
