#pragma once

// Prints how long Thumbnail View took to fill the cache against vipsthumbnail, when it ran.
void printThumbnailViewRatio();
