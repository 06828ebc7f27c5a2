#include "LargeShop.h"

#include "core/DataFile.h"
#include "core/Pinyin.h"
#include "core/Session.h"
#include "core/Vb.h"

#include <QDate>
#include <QFile>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <random>
#include <set>
#include <sqlite3.h>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

using Words = std::vector<std::string>;

// Distributions written out by hand on top of the engine: the standard ones may give other
// numbers with another standard library, and a seed must always mean the same shop.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : engine_(seed) {}
    double uniform() { return double(engine_() >> 11) * 0x1.0p-53; } // [0, 1)
    double uniform(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    int range(int lo, int hi) { return lo + int(engine_() % std::uint64_t(hi - lo + 1)); } // both included
    bool chance(double p) { return uniform() < p; }
    double normal() {
        const double u1 = 1.0 - uniform();
        const double u2 = uniform();
        return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * std::numbers::pi * u2);
    }
    std::uint32_t bits() { return std::uint32_t(engine_() >> 32); }
    template <class T> const T& pick(const std::vector<T>& v) {
        return v[size_t(range(0, int(v.size()) - 1))];
    }

private:
    std::mt19937_64 engine_;
};

struct Category {
    std::string kind;        // what a supplier of it calls itself
    Words materials;         // prefixes of the name
    Words items;             // the goods themselves
    Words models;            // model / size
    Words grades;            // appended to the model
    Words units;             // how demands count it
    bool measured;           // sold by the metre or kilogram, in hundredths
    double priceLo, priceHi; // unit purchase price in the first year
    double usualLo, usualHi; // quantity of a usual sale
};

const std::vector<Category>& categories() {
    static const std::vector<Category> list = {
        {"紧固件有限公司",
         {"不锈钢", "304不锈钢", "镀锌", "碳钢", "尼龙", "发黑", "热镀锌"},
         {"螺丝", "自攻螺丝", "六角螺栓", "内六角螺钉", "螺母", "平垫片", "弹簧垫圈", "膨胀螺栓", "铆钉",
          "全牙螺杆", "吊环螺钉", "蝶形螺母"},
         {"M3x10", "M4x12", "M5x16", "M6x20", "M6x30", "M8x25", "M8x40", "M10x50", "M12x60", "M16x80",
          "M20x100"},
         {"", " 4.8级", " 8.8级", " A2-70", " 国标", " 非标"},
         {"个", "套", "只", "盒"},
         false,
         0.05,
         3.0,
         10,
         200},
        {"管业有限公司",
         {"铜", "黄铜", "PPR", "PVC", "铸铁", "不锈钢", "镀锌"},
         {"管接头", "弯头", "三通", "直接", "内丝弯头", "外丝直接", "球阀", "闸阀", "止回阀", "法兰", "活接",
          "管卡", "堵头"},
         {"DN15", "DN20", "DN25", "DN32", "DN40", "DN50", "4分", "6分", "1寸", "1.2寸"},
         {"", " PN16", " 1.6MPa", " 加厚", " 冷热水"},
         {"个", "只", "套"},
         false,
         1.5,
         180.0,
         1,
         20},
        {"电器有限公司",
         {"工业", "家用", "防水", "明装", "暗装", "导轨式", "小型"},
         {"电源适配器", "开关电源", "断路器", "漏电保护器", "交流接触器", "中间继电器", "五孔插座",
          "单控开关", "接线端子", "熔断器", "控制变压器", "指示灯", "按钮开关", "接线盒"},
         {"12V 2A", "24V 5A", "5V 3A", "DZ47-63 C16", "C32", "220V 10A", "380V 25A", "AC220V", "DC24V",
          "86型", "16A"},
         {"", " 白色", " 带灯", " 3C认证"},
         {"个", "只", "台"},
         false,
         2.0,
         480.0,
         1,
         10},
        {"线缆厂",
         {"铜芯", "铝芯", "阻燃", "屏蔽", "镀锌", "PVC", "PPR"},
         {"电线", "电缆", "护套线", "网线", "钢丝绳", "水管", "穿线管", "起重链条", "波纹管"},
         {"BV1.5", "BV2.5", "BV4", "RVV3x1.5", "RVV2x1.0", "CAT6", "φ6", "φ8", "DN20", "16mm", "25mm"},
         {"", " 100米/卷", " 国标", " 按米"},
         {"米", "卷"},
         true,
         0.4,
         35.0,
         2,
         60},
        {"工具有限公司",
         {"双头", "活动", "十字", "一字", "电动", "手动", "充电式", "合金"},
         {"扳手", "螺丝刀", "钢丝钳", "尖嘴钳", "手电钻", "麻花钻头", "圆锯片", "钢卷尺", "水平尺", "角磨机",
          "切割片", "热熔器", "管子钳"},
         {"8寸", "10寸", "12寸", "φ6", "φ8", "φ10", "5m", "105mm", "125mm", "600W", "20V"},
         {"", " 工业级", " 套装", " 加长"},
         {"把", "台", "个", "套"},
         false,
         3.0,
         600.0,
         1,
         5},
        {"劳保用品商行",
         {"加厚", "防滑", "耐磨", "一次性", "透气", "反光"},
         {"劳保手套", "安全帽", "防尘口罩", "工作服", "护目镜", "反光背心", "雨衣", "绝缘鞋"},
         {"均码", "L", "XL", "XXL", "12双/打", "50只/盒", "红色", "黄色"},
         {"", " 国标", " 新款"},
         {"双", "顶", "套", "件", "箱"},
         false,
         0.8,
         90.0,
         2,
         50},
        {"建材批发部",
         {"环保", "防水", "耐候", "快干", "透明", "高强"},
         {"玻璃胶", "结构胶", "防水涂料", "调和漆", "防锈漆", "腻子粉", "填缝剂", "瓷砖胶"},
         {"300ml", "1kg", "5kg", "20kg", "白色", "灰色", "黑色"},
         {"", " 室内", " 室外"},
         {"支", "桶", "袋", "箱"},
         false,
         4.0,
         260.0,
         1,
         12},
        {"五金机电经营部",
         {"不锈钢", "铝合金", "锌合金", "铁艺", "静音", "重型"},
         {"合页", "门锁", "拉手", "抽屉滑轨", "挂钩", "门吸", "插销", "深沟轴承", "锁芯"},
         {"4寸", "5寸", "6204-2RS", "6205", "350mm", "450mm", "32mm", "64mm"},
         {"", " 拉丝", " 亮光", " 加厚"},
         {"个", "副", "套", "把"},
         false,
         1.0,
         150.0,
         1,
         16},
    };
    return list;
}

const Words kSurnames = {"王", "李", "张", "刘", "陈", "杨", "黄", "赵", "吴", "周", "徐", "孙", "马", "朱",
                         "胡", "郭", "何", "高", "林", "罗", "郑", "梁", "谢", "宋", "唐", "许", "韩", "冯"};
const Words kGivenNames = {"建国", "秀英", "伟",   "芳",   "军",   "海涛", "志强", "丽",   "明",   "红梅",
                           "国庆", "春生", "小兵", "桂兰", "德华", "玉珍", "振宇", "文斌", "晓东", "淑芬"};
const Words kTitles = {"先生", "女士", "师傅", "老板", "经理", "工"};
const Words kDistricts = {"城东", "城西", "江北", "新区", "开发区", "高新区", "滨江",
                          "河西", "南湖", "北园", "东山", "西岭",   "桥南",   "港区"};
const Words kFirmWords = {"宏达", "恒信", "鑫源", "华兴", "永盛", "金泰", "东方", "远大", "顺通", "利民",
                          "安居", "广厦", "瑞丰", "建业", "长城", "正和", "天成", "盛世", "万通", "新华"};
const Words kFirmKinds = {"建筑工程有限公司", "装饰工程部", "机电设备有限公司", "物业管理处", "水电维修部",
                          "五金店",           "设备安装队", "建材商行",         "机械厂",     "食品厂",
                          "学校后勤处",       "医院总务科", "酒店工程部",       "汽修厂"};
const Words kRoads = {"人民路",   "解放路", "建设路", "中山路", "和平街",
                      "工业大道", "沿江路", "文化路", "新华街"};
const Words kCities = {"温州", "永年", "宁波", "佛山", "义乌", "台州", "苏州",
                       "无锡", "天津", "临沂", "东莞", "常州", "邯郸", "余姚"};
const Words kBanks = {"工商银行", "农业银行", "建设银行", "中国银行", "农村信用社", "交通银行"};
const Words kNotes = {"月结",   "现金", "微信支付", "转账", "送货上门",   "自提",   "含税",    "不含税",
                      "开专票", "补货", "样品",     "急单", "退换后重开", "老客户", "按合同价"};

std::string digits(Rng& rng, int n) {
    std::string s;
    for (int i = 0; i < n; ++i)
        s += char('0' + rng.range(0, 9));
    return s;
}

std::string mobile(Rng& rng) {
    static const Words prefixes = {"138", "139", "137", "135", "158", "159", "186", "188", "152", "133"};
    return rng.pick(prefixes) + digits(rng, 8);
}

std::string money(double v) {
    return vb::CStr(v).toStdString();
}

struct Goods {
    std::string mc, jc, xh, kw;
    int category = 0;
    double kcMin = 0, lsj = 0, pfj = 0, dbj = 0;
    double basePrice = 0, markup = 1, usual = 1;
    int day = 0; // registered
    std::vector<int> suppliers;
    double zkc = 0, zcb = 0, dj = 0;
};

struct Customer {
    std::string name, details;
    int day = 0;
};

struct Demand {
    int customer = 0; // 1-based ID
    int day = 0;
    std::string text;
    bool done = false;
};

struct Supplier {
    std::string name, details, kinds;
    std::vector<int> categories;
};

struct Movement {
    int goods = 0; // 1-based ID
    int day = 0;
    bool sale = false;
    double sl = 0, zje = 0, gzje = 0;
    int jxid = 0, khxqid = 0;
    std::string bz;
};

class Generator {
public:
    Generator(const LargeShopSizes& sizes)
        : n_(sizes), rng_(sizes.seed), start_(QDate(sizes.firstYear, 1, 1)),
          days_(int(QDate(sizes.firstYear + sizes.years, 1, 1).toJulianDay() - start_.toJulianDay())) {
        for (int d = 0; d < days_; ++d)
            iso_.push_back(start_.addDays(d).toString(Qt::ISODate).toStdString());
    }

    void build() {
        makeSuppliers();
        makeGoods();
        makeCustomers();
        makeDemands();
        makeMovements();
        makeKeywords();
    }
    LargeShopSummary write(Session& session);

private:
    double yearsIn(int day) const { return day / 365.25; }
    int lastDay() const { return days_ - 1; }

    void makeSuppliers() {
        const auto& cats = categories();
        for (int i = 0; i < n_.suppliers; ++i) {
            Supplier s;
            const int main = rng_.range(0, int(cats.size()) - 1);
            s.categories.push_back(main);
            if (rng_.chance(0.4)) s.categories.push_back(rng_.range(0, int(cats.size()) - 1));
            s.name = rng_.pick(kCities) + rng_.pick(kFirmWords) + cats[main].kind;
            std::set<std::string> kinds;
            const int count = rng_.range(2, 6);
            for (int k = 0; k < count; ++k)
                kinds.insert(rng_.pick(cats[size_t(rng_.pick(s.categories))].items));
            for (const auto& k : kinds)
                s.kinds += (s.kinds.empty() ? "" : "、") + k;
            s.details =
                "联系人：" + rng_.pick(kSurnames) + "经理；电话：0" + digits(rng_, 3) + "-" + digits(rng_, 8);
            if (rng_.chance(0.7)) s.details += "；手机：" + mobile(rng_);
            if (rng_.chance(0.5))
                s.details += "；开户行：" + rng_.pick(kBanks) + "；账号：62" + digits(rng_, 17);
            suppliers_.push_back(std::move(s));
        }
        const auto& all = categories();
        byCategory_.assign(all.size(), {});
        for (int i = 0; i < int(suppliers_.size()); ++i)
            for (int c : suppliers_[size_t(i)].categories)
                byCategory_[size_t(c)].push_back(i + 1);
    }

    void makeGoods() {
        const auto& cats = categories();
        std::vector<double> capacity;
        double total = 0;
        for (const auto& c : cats) {
            capacity.push_back(
                double((c.materials.size() + 1) * c.items.size() * c.models.size() * c.grades.size()));
            total += capacity.back();
        }
        std::set<std::pair<std::string, std::string>> seen;
        std::unordered_map<std::string, std::string> codes;
        std::vector<int> regDays;
        for (int i = 0; i < n_.goods; ++i) {
            Goods g;
            // Pick a name and model not used yet; a huge shop may have to repeat one.
            for (int attempt = 0; attempt < 50; ++attempt) {
                double u = rng_.uniform() * total;
                g.category = 0;
                while (g.category + 1 < int(cats.size()) && u >= capacity[size_t(g.category)])
                    u -= capacity[size_t(g.category++)];
                const Category& c = cats[size_t(g.category)];
                const int m = rng_.range(0, int(c.materials.size()));
                g.mc = (m < int(c.materials.size()) ? c.materials[size_t(m)] : std::string()) +
                       rng_.pick(c.items);
                g.xh = rng_.pick(c.models) + rng_.pick(c.grades);
                if (seen.insert({g.mc, g.xh}).second) break;
            }
            auto code = codes.find(g.mc);
            if (code == codes.end())
                code = codes.emplace(g.mc, PinyinInitials(QString::fromStdString(g.mc)).toStdString()).first;
            g.jc = code->second;
            const Category& c = cats[size_t(g.category)];
            char kw[32];
            std::snprintf(kw, sizeof kw, "%c区-%02d-%d", 'A' + rng_.range(0, 7), rng_.range(1, 40),
                          rng_.range(1, 6));
            g.kw = kw;
            g.basePrice = vb::Round(c.priceLo * std::pow(c.priceHi / c.priceLo, rng_.uniform()), 2);
            g.markup = rng_.uniform(1.25, 1.8);
            g.usual = c.usualLo * std::pow(c.usualHi / c.usualLo, rng_.uniform());
            static const std::vector<double> measuredMin = {0, 10, 20, 50}, usualsMin = {0, 0, 1, 2, 3};
            g.kcMin = c.measured ? rng_.pick(measuredMin) : std::round(g.usual * rng_.pick(usualsMin));
            const int cs = rng_.range(1, 3);
            const auto& offer = byCategory_[size_t(g.category)];
            for (int k = 0; k < cs && n_.suppliers > 0; ++k)
                g.suppliers.push_back(offer.empty() ? rng_.range(1, n_.suppliers) : rng_.pick(offer));
            // A quarter was on the shelves when the ledger began; the rest came over the years.
            regDays.push_back(rng_.chance(0.25) ? rng_.range(0, std::min(30, lastDay()))
                                                : rng_.range(0, int(lastDay() * 0.95)));
            goods_.push_back(std::move(g));
        }
        // Goods are registered in date order, so IDs rise with the dates.
        std::sort(regDays.begin(), regDays.end());
        for (size_t i = 0; i < goods_.size(); ++i) {
            Goods& g = goods_[i];
            g.day = regDays[i];
            const double price = g.basePrice * (1 + 0.03 * yearsIn(g.day));
            g.lsj = vb::Round(price * g.markup, 2);
            g.pfj = vb::Round(price * (1 + (g.markup - 1) * 0.6), 2);
            g.dbj = vb::Round(price * 1.05, 2);
        }
    }

    void makeCustomers() {
        std::vector<int> days;
        for (int i = 0; i < n_.customers; ++i) {
            Customer c;
            if (rng_.chance(0.6)) {
                c.name = rng_.pick(kDistricts) + rng_.pick(kFirmWords) + rng_.pick(kFirmKinds);
            } else {
                c.name =
                    rng_.pick(kSurnames) + (rng_.chance(0.5) ? rng_.pick(kTitles) : rng_.pick(kGivenNames));
            }
            c.details = "电话：" + mobile(rng_);
            if (rng_.chance(0.6))
                c.details += "；地址：" + rng_.pick(kDistricts) + rng_.pick(kRoads) +
                             std::to_string(rng_.range(1, 399)) + "号";
            if (rng_.chance(0.3)) c.details += "；联系人：" + rng_.pick(kSurnames) + rng_.pick(kTitles);
            days.push_back(rng_.chance(0.2) ? rng_.range(0, std::min(60, lastDay()))
                                            : rng_.range(0, lastDay()));
            customers_.push_back(std::move(c));
        }
        std::sort(days.begin(), days.end());
        for (size_t i = 0; i < customers_.size(); ++i)
            customers_[i].day = days[i];
        for (const auto& c : customers_)
            customerDays_.push_back(c.day);
    }

    std::string demandText() {
        const Category& c = rng_.pick(categories());
        const std::string item = rng_.pick(c.items);
        const std::string unit = rng_.pick(c.units);
        const std::string count = std::to_string(rng_.range(1, 50) * (rng_.chance(0.3) ? 10 : 1));
        switch (rng_.range(0, 5)) {
        case 0:
            return "需要" + item + rng_.pick(c.models) + " " + count + unit;
        case 1:
            return "询价：" + rng_.pick(c.materials) + item + " " + rng_.pick(c.models);
        case 2:
            return item + "到货后电话通知";
        case 3:
            return "维修" + rng_.pick(kDistricts) + "工地用" + item + "，" + count + unit;
        case 4:
            return "年度采购：" + item + "、" + rng_.pick(rng_.pick(categories()).items);
        default:
            return "急需" + item + count + unit + "，" + std::to_string(rng_.range(1, 12)) + "月" +
                   std::to_string(rng_.range(1, 28)) + "日前送到";
        }
    }

    void makeDemands() {
        struct Keyed {
            int day;
            std::uint32_t tie;
            Demand d;
        };
        std::vector<Keyed> all;
        // Every new customer comes with one demand "待修改", dated the day the customer was entered.
        const int first = std::min(n_.customers, n_.demands);
        for (int i = 0; i < first; ++i) {
            Demand d{i + 1, customers_[size_t(i)].day, "待修改", false};
            all.push_back({d.day, rng_.bits(), d});
        }
        for (int i = first; i < n_.demands && n_.customers > 0; ++i) {
            Demand d;
            d.day = rng_.range(customerDays_.front(), lastDay());
            const int known = int(std::upper_bound(customerDays_.begin(), customerDays_.end(), d.day) -
                                  customerDays_.begin());
            d.customer = rng_.range(1, known);
            d.text = demandText();
            all.push_back({d.day, rng_.bits(), d});
        }
        std::sort(all.begin(), all.end(), [](const Keyed& a, const Keyed& b) {
            return a.day != b.day ? a.day < b.day : a.tie < b.tie;
        });
        for (auto& k : all) {
            // Old demands are mostly settled, recent ones mostly open.
            k.d.done = rng_.chance(k.d.day < lastDay() - 180 ? 0.9 : 0.4);
            demandDays_.push_back(k.d.day);
            demands_.push_back(std::move(k.d));
        }
    }

    // A demand recorded on or before the day, usually a recent one; 0 when there is none.
    int demandBefore(int day) {
        const int known =
            int(std::upper_bound(demandDays_.begin(), demandDays_.end(), day) - demandDays_.begin());
        if (known == 0) return 0;
        return known - rng_.range(0, std::min(known - 1, 400));
    }

    void makeMovements() {
        const int goodsCount = int(goods_.size());
        if (goodsCount == 0 || n_.movements <= 0) return;
        // How busy each item is: skewed, a few never stocked, and late arrivals have had less time.
        std::vector<double> weight(size_t(goodsCount), 0);
        double total = 0;
        for (int i = 0; i < goodsCount; ++i) {
            const double w = rng_.chance(0.02) ? 0 : std::exp(1.1 * rng_.normal());
            weight[size_t(i)] = w * (days_ - goods_[size_t(i)].day) / days_;
            total += weight[size_t(i)];
        }
        std::vector<int> count(size_t(goodsCount), 0);
        int given = 0;
        for (int i = 0; i < goodsCount; ++i) {
            count[size_t(i)] = int(std::floor(n_.movements * weight[size_t(i)] / total));
            given += count[size_t(i)];
        }
        while (given < n_.movements) {
            const int i = rng_.range(0, goodsCount - 1);
            if (weight[size_t(i)] > 0) {
                ++count[size_t(i)];
                ++given;
            }
        }
        struct Event {
            int day;
            std::uint32_t tie;
            int goods;
        };
        std::vector<Event> events;
        events.reserve(size_t(n_.movements));
        for (int i = 0; i < goodsCount; ++i) {
            const int reg = goods_[size_t(i)].day;
            for (int k = 0; k < count[size_t(i)]; ++k)
                events.push_back({k == 0 ? reg : rng_.range(reg, lastDay()), rng_.bits(), i + 1});
        }
        // Booked day by day, so movement IDs rise with the dates as in a real ledger.
        std::sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
            if (a.day != b.day) return a.day < b.day;
            if (a.tie != b.tie) return a.tie < b.tie;
            return a.goods < b.goods;
        });
        movements_.reserve(events.size());
        for (const Event& e : events)
            movements_.push_back(book(goods_[size_t(e.goods - 1)], e.goods, e.day));
    }

    // One movement of the item, with the stock arithmetic of the purchase and sales forms.
    Movement book(Goods& g, int id, int day) {
        const Category& c = categories()[size_t(g.category)];
        const double least = c.measured ? 0.01 : 1;
        Movement m;
        m.goods = id;
        m.day = day;
        if (g.zkc < least)
            m.sale = false;
        else if (g.zkc <= g.kcMin && rng_.chance(0.6))
            m.sale = false;
        else
            m.sale = rng_.chance(0.74);
        const double price = g.basePrice * (1 + 0.03 * yearsIn(day)) * rng_.uniform(0.94, 1.06);
        if (!m.sale) {
            double q = g.usual * rng_.uniform(2, 6);
            q = c.measured && rng_.chance(0.3) ? vb::Round(q, 2) : std::round(q);
            m.sl = std::max(q, least);
            m.zje = rng_.chance(0.002) ? 0 : vb::Round(m.sl * price, 2); // now and then a free delivery
            if (n_.suppliers > 0 && rng_.chance(0.95))
                m.jxid = g.suppliers.empty() ? 0 : rng_.pick(g.suppliers);
            if (rng_.chance(0.08)) m.khxqid = demandBefore(day);
            g.zkc = vb::Round(g.zkc + m.sl, 2);
            g.zcb = vb::Round(g.zcb + m.zje, 2);
            g.dj = g.zcb / g.zkc;
        } else {
            double q;
            if (g.zkc <= 3 * g.usual && rng_.chance(0.05))
                q = g.zkc; // the rest of the stock
            else if (c.measured)
                q = std::max(0.01, vb::Round(rng_.uniform(0.01, 2 * g.usual), 2));
            else
                q = rng_.range(1, std::max(1, int(2 * g.usual)));
            m.sl = std::min(q, g.zkc);
            static const std::vector<double> discounts = {1, 1, 1, 0.95, 0.9, 0.85};
            m.zje = vb::Round(m.sl * price * g.markup * rng_.pick(discounts), 2);
            if (rng_.chance(0.55)) {
                m.khxqid = demandBefore(day);
                m.jxid = m.khxqid ? demands_[size_t(m.khxqid - 1)].customer : 0;
            }
            // Both right-hand sides on the values before the sale; the unit cost stays.
            g.zcb = vb::Round((g.zcb / g.zkc) * (g.zkc - m.sl), 2);
            g.zkc = vb::Round(g.zkc - m.sl, 2);
        }
        if (rng_.chance(0.08)) {
            static const std::vector<double> parts = {1, 0.5, 0.3};
            m.gzje = vb::Round(m.zje * (rng_.chance(0.7) ? rng_.pick(parts) : rng_.uniform(0.1, 0.9)), 2);
        }
        if (rng_.chance(0.12))
            m.bz = rng_.chance(0.2) ? "单号" + iso_[size_t(day)].substr(0, 4) + digits(rng_, 5)
                                    : rng_.pick(kNotes);
        return m;
    }

    std::string keyword() {
        const Category& c = rng_.pick(categories());
        switch (rng_.range(0, 9)) {
        case 0:
            return rng_.pick(c.items);
        case 1:
            return rng_.pick(c.materials) + rng_.pick(c.items);
        case 2:
            return goods_.empty() ? rng_.pick(c.items) : rng_.pick(goods_).jc;
        case 3:
            return rng_.pick(c.models);
        case 4:
            return rng_.pick(c.items) + "," + rng_.pick(c.models);
        case 5:
            return rng_.chance(0.5) ? rng_.pick(kDistricts) + rng_.pick(kFirmWords)
                                    : rng_.pick(kSurnames) + rng_.pick(kTitles);
        case 6: {
            const QDate d = start_.addDays(rng_.range(0, lastDay()));
            return std::to_string(d.year()) + "-" + std::to_string(d.month());
        }
        case 7:
            return rng_.pick(kCities);
        case 8:
            return rng_.chance(0.5) ? std::to_string(rng_.range(1, 500)) : money(rng_.range(1, 9999) / 100.0);
        default:
            return rng_.pick(c.materials) + "," + rng_.pick(c.items);
        }
    }

    void makeKeywords() {
        // The keyword memory holds each text once.
        std::set<std::string> seen;
        for (int attempt = 0; int(keywords_.size()) < n_.keywords && attempt < 100 * n_.keywords; ++attempt) {
            std::string k = keyword();
            if (!k.empty() && seen.insert(k).second) keywords_.push_back(std::move(k));
        }
    }

    LargeShopSizes n_;
    Rng rng_;
    QDate start_;
    int days_;
    std::vector<std::string> iso_; // "YYYY-MM-DD" of each day
    std::vector<Supplier> suppliers_;
    std::vector<std::vector<int>> byCategory_; // supplier IDs per category
    std::vector<Goods> goods_;
    std::vector<Customer> customers_;
    std::vector<int> customerDays_;
    std::vector<Demand> demands_;
    std::vector<int> demandDays_;
    std::vector<Movement> movements_;
    std::vector<std::string> keywords_;
};

// One prepared INSERT, bound column by column and stepped once per row.
class Insert {
public:
    Insert(sqlite3* db, const char* sql) : db_(db) {
        if (sqlite3_prepare_v2(db, sql, -1, &st_, nullptr) != SQLITE_OK) fail();
    }
    ~Insert() { sqlite3_finalize(st_); }
    Insert(const Insert&) = delete;
    Insert& operator=(const Insert&) = delete;

    Insert& operator<<(long long v) {
        sqlite3_bind_int64(st_, ++column_, v);
        return *this;
    }
    Insert& operator<<(int v) { return *this << static_cast<long long>(v); }
    Insert& operator<<(double v) {
        sqlite3_bind_double(st_, ++column_, v);
        return *this;
    }
    Insert& operator<<(const std::string& v) {
        sqlite3_bind_text(st_, ++column_, v.data(), int(v.size()), SQLITE_STATIC);
        return *this;
    }
    void row() {
        if (sqlite3_step(st_) != SQLITE_DONE) fail();
        sqlite3_reset(st_);
        column_ = 0;
    }

private:
    [[noreturn]] void fail() {
        throw DbError(QStringLiteral("写入数据失败：%1").arg(QString::fromUtf8(sqlite3_errmsg(db_))));
    }
    sqlite3* db_;
    sqlite3_stmt* st_ = nullptr;
    int column_ = 0;
};

void exec(sqlite3* db, const char* sql) {
    char* err = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        const QString why = QString::fromUtf8(err ? err : "");
        sqlite3_free(err);
        throw DbError(QStringLiteral("写入数据失败：%1").arg(why));
    }
}

LargeShopSummary Generator::write(Session& session) {
    sqlite3* db = session.handle();
    // A new file that is removed again on failure: no need to wait for the disk on the way.
    exec(db, "PRAGMA cache_size=-262144; PRAGMA synchronous=OFF");
    exec(db, "BEGIN");
    LargeShopSummary sum;
    constexpr int kFalse = 0, kTrue = -1;
    {
        Insert ins(db, "INSERT INTO T_GYS (ID,GYSMC,GYSZL,GHPZ) VALUES (?,?,?,?)");
        for (size_t i = 0; i < suppliers_.size(); ++i, ++sum.suppliers) {
            ins << int(i + 1) << suppliers_[i].name << suppliers_[i].details << suppliers_[i].kinds;
            ins.row();
        }
    }
    {
        Insert ins(db, "INSERT INTO T_TZ (ID,MC,JC,XH,KW,KCmin,ZKC,ZCB,DJ,LSJ,PFJ,DBJ,BJ) "
                       "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)");
        for (size_t i = 0; i < goods_.size(); ++i, ++sum.goods) {
            const Goods& g = goods_[i];
            ins << int(i + 1) << g.mc << g.jc << g.xh << g.kw << g.kcMin << g.zkc << g.zcb << g.dj << g.lsj
                << g.pfj << g.dbj << kFalse;
            ins.row();
            sum.stockValue += g.zcb;
        }
    }
    {
        Insert ins(db, "INSERT INTO T_KH (ID,KHMC,KHZL) VALUES (?,?,?)");
        for (size_t i = 0; i < customers_.size(); ++i, ++sum.customers) {
            ins << int(i + 1) << customers_[i].name << customers_[i].details;
            ins.row();
        }
    }
    {
        Insert ins(db, "INSERT INTO T_KH_XQ (ID,KHID,RQ,KHXQ,BJ) VALUES (?,?,?,?,?)");
        for (size_t i = 0; i < demands_.size(); ++i, ++sum.demands) {
            const Demand& d = demands_[i];
            ins << int(i + 1) << d.customer << iso_[size_t(d.day)] << d.text << (d.done ? kTrue : kFalse);
            ins.row();
        }
    }
    {
        Insert ins(db, "INSERT INTO T_IO (ID,TZID,RQ,SL,ZJE,GZJE,JXID,KHXQID,BZ) VALUES (?,?,?,?,?,?,?,?,?)");
        for (size_t i = 0; i < movements_.size(); ++i) {
            const Movement& m = movements_[i];
            ins << int(i + 1) << (m.sale ? m.goods : -m.goods) << iso_[size_t(m.day)] << m.sl << m.zje
                << m.gzje << m.jxid << m.khxqid << m.bz;
            ins.row();
            ++(m.sale ? sum.sales : sum.purchases);
        }
        if (!movements_.empty()) {
            sum.firstDate = QString::fromStdString(iso_[size_t(movements_.front().day)]);
            sum.lastDate = QString::fromStdString(iso_[size_t(movements_.back().day)]);
        }
    }
    {
        Insert ins(db, "INSERT INTO T_Key (id,cc) VALUES (?,?)");
        for (size_t i = 0; i < keywords_.size(); ++i, ++sum.keywords) {
            ins << int(i + 1) << keywords_[i];
            ins.row();
        }
    }
    exec(db, "COMMIT");
    return sum;
}

} // namespace

LargeShopSummary GenerateLargeShop(const QString& path, const LargeShopSizes& sizes) {
    Generator generator(sizes);
    generator.build();
    CreateDataFile(path);
    ScriptedMessageBoxes boxes;
    Session session(boxes);
    try {
        session.open(path);
        return generator.write(session);
    } catch (...) {
        // No half-filled shop is left behind.
        session.close();
        QFile::remove(path);
        throw;
    }
}
