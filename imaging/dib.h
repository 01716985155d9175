// The packed-image and layer-buffer library in one include.
#pragma once

#include "imaging/dib_access.h"
#include "imaging/dib_blit.h"
#include "imaging/dib_convert.h"
#include "imaging/dib_create.h"
#include "imaging/dib_exchange.h"
#include "imaging/dib_fill.h"
#include "imaging/dib_layout.h"
#include "imaging/dib_paint.h"
#include "imaging/dib_qimage.h"
#include "imaging/dib_scale.h"
#include "imaging/layer_buffer.h"
#include "imaging/layer_transform.h"
#include "imaging/logical_palette.h"
#include "imaging/mono_expand.h"
