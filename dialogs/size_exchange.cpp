#include "dialogs/size_exchange.h"

#include "document/image_limits.h"
#include "framework/data_exchange.h"

void ExchangeImageSize(framework::DataExchange& dx, int widthId, unsigned& width, int heightId,
                       unsigned& height) {
    const MaxImageSize max = GetMaxImageSize();
    dx.Text(widthId, width);
    dx.MinMax(widthId, width, 1, max.width);
    dx.Text(heightId, height);
    dx.MinMax(heightId, height, 1, max.height);
}
