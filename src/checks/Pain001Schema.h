#pragma once

#include "xml/XmlSchema.h"

// The official pain.001.001.09 schema, which the program carries inside itself; parsed on first
// use and kept for the rest of the run.
const TXmlSchema &Pain001Schema();
