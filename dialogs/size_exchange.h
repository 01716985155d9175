// The width and height fields of the size dialogs: unsigned numbers from 1
// up to the maximum image size.
#pragma once

namespace framework {
class DataExchange;
}

void ExchangeImageSize(framework::DataExchange& dx, int widthId, unsigned& width, int heightId,
                       unsigned& height);
