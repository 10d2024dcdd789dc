// The package file's header, its quote handling and the hyperlink removal.
#include "csvpack/csv_file.h"

#include <gtest/gtest.h>

#include "csvpack/csv_header.h"
#include "csvpack/csv_item.h"
#include "platform/codepage.h"

namespace taotu {
namespace {

TEST(CsvHeader, ThreeLinesWithTheColumnNamesAsTaobaoAssistantSpellsThem) {
  const std::string header = platform::GbkToUtf8(csvpack::CsvHeader());
  const std::string english =
      "title,cid,seller_cids,stuff_status,location_state,location_city,item_type,price,auction_increment,num,"
      "valid_thru,freight_payer,post_fee,ems_fee,express_fee,has_invoice,has_warranty,approve_status,"
      "has_showcase,list_time,description,cateProps,postage_id,has_discount,modified,upload_fail_msg,"
      "picture_status,auction_point,picture,video,skuProps,inputPids,inputValues,outer_id,propAlias,auto_"
      "fill,"
      "num_id,local_cid,navigation_type,user_name,syncStatus,is_lighting_consigment,is_xinpin,foodparame,"
      "features,buyareatype,global_stock_type,global_stock_country,sub_stock_type,item_size,item_weight,"
      "sell_promise,custom_design_flag,wireless_desc,barcode,sku_barcode,newprepay,subtitle";
  const std::string chinese =
      "宝贝名称,宝贝类目,店铺类目,新旧程度,省,城市,出售方式,宝贝价格,加价幅度,宝贝数量,有效期,运费承担,平邮,"
      "EMS,"
      "快递,发票,保修,放入仓库,橱窗推荐,开始时间,宝贝描述,宝贝属性,邮费模版ID,会员打折,修改时间,上传状态,"
      "图片状态,"
      "返点比例,新图片,视频,销售属性组合,用户输入ID串,用户输入名-值对,商家编码,销售属性别名,代充类型,数字ID,"
      "本地ID,"
      "宝贝分类,用户名称,宝贝状态,闪电发货,新品,食品专项,尺码库,采购地,库存类型,国家地区,库存计数,物流体积,"
      "物流重量,"
      "退换货承诺,定制工具,无线详情,商品条形码,sku 条形码,7天退货,宝贝卖点";
  EXPECT_EQ(header, "version 1.00\r\n" + english + "\r\n" + chinese);
}

TEST(ConvertRowText, QuoteRunsCollapseBeforeMarkersBecomeQuotes) {
  const struct {
    std::string row, file;
  } cases[] = {
      {"|||a|||,1", "\"a\",1"},
      {"|||\"\"edge\"\"|||,", "\"\"\"edge\"\"\","},  // a description quoted at its edges keeps three
      {"|||say \"\"\"\"hi\"\"\"\"|||",
       "\"say \"\"hi\"\"\""},  // two quotes, doubled to four, reach the file as two
      {"a\"\"\"\"\"b", "a\"\"b"},
      {"||||||,", "\"\","},
  };
  for (const auto& c : cases) EXPECT_EQ(csvpack::ConvertRowText(c.row), c.file) << c.row;
  EXPECT_EQ(csvpack::BuildCsvFile("|||x|||"), csvpack::CsvHeader() + "\r\n\"x\"");
  EXPECT_EQ(csvpack::BuildCompositeFile({"\"new\"", "\"old\""}),
            csvpack::CsvHeader() + "\r\n\"new\"\r\n\"old\"\r\n");
}

TEST(RemoveHyperlinks, OpeningTagsAndClosingTagsGoTextsStay) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"<p><a href=\"x\" target=\"_blank\">buy</a> now</p>", "<p>buy now</p>"},
      {"<a href=\"x\">1</a><a href=\"x\">2</a>", "12"},
      {"<A HREF=\"x\">y</A>", "<A HREF=\"x\">y</A>"},
      {"<a>y</a>", "<a>y"},
      {"<a href=\"x\" no close", "<a href=\"x\" no close"},
      {"<a <a href=\"y\">z</a>", "<a z"},
  };
  for (const auto& c : cases) EXPECT_EQ(csvpack::RemoveHyperlinks(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace taotu
