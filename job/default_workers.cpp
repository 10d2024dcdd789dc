// The workers a job hands its entries to.
#include "item/item_page_job.h"
#include "job/csv_package_job.h"
#include "job/direct_image_job.h"
#include "job/dispatcher.h"

namespace taotu::job {

Workers DefaultWorkers() {
  Workers workers;
  workers.directImage = DirectImageJob;
  workers.csvPackage = CsvPackageJob;
  workers.itemPage = item::ItemPageJob;
  return workers;
}

}  // namespace taotu::job
