// xelimg is a face over the host kit: the kit's names are xelimg's own.
#pragma once

namespace xelhost {}

namespace xelimg {

using namespace xelhost;

}  // namespace xelimg
